// The tracks file reader over arbitrary text; whatever it reads must write back and read again
// with the same tracks.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/sync_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SyncDocument document;
  const SyncReadResult result = ReadSyncDocument(reinterpret_cast<const char*>(data), size, document);
  if (!result.ok) return 0;
  for (const SyncTrack& track : document.tracks) {
    SyncTrackValue(track, -1.0);
    SyncTrackValue(track, 1.0e12);
    if (!track.keys.empty()) SyncTrackValue(track, track.keys.back().row * 0.5 + 0.25);
  }
  SyncRowAt(document, UINT32_MAX);
  SyncTimeOfRow(document, UINT32_MAX);
  const std::string written = SyncDocumentXml(document);
  SyncDocument again;
  const SyncReadResult reread = ReadSyncDocument(written.c_str(), written.size(), again);
  if (!reread.ok || again.tracks.size() != document.tracks.size()) std::abort();
  for (size_t i = 0; i < again.tracks.size(); ++i) {
    if (again.tracks[i].name != document.tracks[i].name) std::abort();
    if (again.tracks[i].keys.size() != document.tracks[i].keys.size()) std::abort();
  }
  return 0;
}
