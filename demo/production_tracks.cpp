#include "demo/production_tracks.h"

#include <string>

#include "core/log.h"
#include "files/entry_text.h"
#include "files/pack_file.h"

void ProductionTracks::Load() {
  mDocument = SyncDocument();
  mPresent = false;
  mUnsaved = false;
  if (!EntryExists(SYNC_TRACKS_PATH)) return;
  const std::string text = ReadEntryText(SYNC_TRACKS_PATH);
  SyncDocument document;
  const SyncReadResult result = ReadSyncDocument(text.c_str(), text.size(), document);
  if (!result.ok) {
    Log(LogLevel::Error, "sync", "%s: %s; constants play as written", SYNC_TRACKS_PATH, result.error.c_str());
    return;
  }
  for (const SyncFinding& finding : result.findings) {
    Log(LogLevel::Warning, "sync", "%s:%d: %s", SYNC_TRACKS_PATH, finding.line, finding.text.c_str());
  }
  mDocument = std::move(document);
  mPresent = true;
}

SyncDocument& ProductionTracks::Edit() {
  mPresent = true;
  mUnsaved = true;
  return mDocument;
}
