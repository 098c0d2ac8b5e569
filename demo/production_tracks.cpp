#include "demo/production_tracks.h"

#include <string>

#include "core/log.h"
#include "files/entry_text.h"
#include "files/pack_file.h"

void ProductionTracks::Load() {
  mDocument = SyncDocument();
  mPresent = false;
  mUnsaved = false;
  mFileText.clear();
  std::string error;
  if (EntryExists(SYNC_TRACKS_PATH) && Reload(error) == Outcome::Refused) {
    Log(LogLevel::Error, "sync", "%s: %s; constants play as written", SYNC_TRACKS_PATH, error.c_str());
  }
}

ProductionTracks::Outcome ProductionTracks::Reload(std::string& error) {
  if (!EntryExists(SYNC_TRACKS_PATH)) {
    error = "the file is gone";
    return Outcome::Refused;
  }
  std::string text = ReadEntryText(SYNC_TRACKS_PATH);
  if (mPresent && text == mFileText) return Outcome::Unchanged;
  SyncDocument document;
  const SyncReadResult result = ReadSyncDocument(text.c_str(), text.size(), document);
  if (!result.ok) {
    error = result.error;
    return Outcome::Refused;
  }
  for (const SyncFinding& finding : result.findings) {
    Log(LogLevel::Warning, "sync", "%s:%d: %s", SYNC_TRACKS_PATH, finding.line, finding.text.c_str());
  }
  mDocument = std::move(document);
  mPresent = true;
  mUnsaved = false;
  mFileText = std::move(text);
  return Outcome::Loaded;
}

void ProductionTracks::MarkSaved(std::string text) {
  mUnsaved = false;
  mFileText = std::move(text);
}

SyncDocument& ProductionTracks::Edit() {
  mPresent = true;
  mUnsaved = true;
  return mDocument;
}
