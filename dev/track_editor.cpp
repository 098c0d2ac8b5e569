#include "dev/track_editor.h"

#include <algorithm>

#include "core/log.h"
#include "demo/production_tracks.h"
#include "files/content_folder.h"
#include "files/output_file.h"

const SyncDocument& TrackEditor::Document() const {
  static const SyncDocument NONE;
  const SyncDocument* active = mTracks.Active();
  return active ? *active : NONE;
}

SyncTrack& TrackEditor::TrackNamed(const std::string& name) {
  SyncDocument& document = mTracks.Edit();
  if (SyncTrack* track = FindSyncTrack(document, name)) return *track;
  document.tracks.push_back({name, {}, 0});
  return document.tracks.back();
}

void TrackEditor::SetKey(const std::string& track, const SyncKey& key, TrackEditSource source) {
  const SyncKey* old = FindSyncKey(TrackNamed(track), key.row);
  Change change{track, key.row, old != nullptr, old ? *old : SyncKey{}, true, key};
  Apply(change, true);
  Record(std::move(change), source);
}

bool TrackEditor::DeleteKey(const std::string& track, uint32_t row, TrackEditSource source) {
  const SyncTrack* found = FindSyncTrack(Document(), track);
  const SyncKey* old = found ? FindSyncKey(*found, row) : nullptr;
  if (!old) return false;
  Change change{track, row, true, *old, false, SyncKey{}};
  Apply(change, true);
  Record(std::move(change), source);
  return true;
}

void TrackEditor::ToggleBookmark(uint32_t row) {
  std::vector<uint32_t>& bookmarks = mTracks.Edit().bookmarks;
  auto at = std::lower_bound(bookmarks.begin(), bookmarks.end(), row);
  if (at != bookmarks.end() && *at == row) {
    bookmarks.erase(at);
  } else {
    bookmarks.insert(at, row);
  }
  Touched();
}

void TrackEditor::BeginGroup() { ++mGroupDepth; }

void TrackEditor::EndGroup() {
  if (mGroupDepth == 0 || --mGroupDepth > 0) return;
  if (!mGroup.empty()) mUndo.push_back(std::move(mGroup));
  mGroup.clear();
}

bool TrackEditor::Undo() {
  if (mUndo.empty()) return false;
  Step step = std::move(mUndo.back());
  mUndo.pop_back();
  for (auto change = step.rbegin(); change != step.rend(); ++change) Apply(*change, false);
  mRedo.push_back(std::move(step));
  return true;
}

bool TrackEditor::Redo() {
  if (mRedo.empty()) return false;
  Step step = std::move(mRedo.back());
  mRedo.pop_back();
  for (const Change& change : step) Apply(change, true);
  mUndo.push_back(std::move(step));
  return true;
}

void TrackEditor::Record(Change change, TrackEditSource source) {
  // An editor's keys are its own history: undoing them here would part us from it.
  if (source == TrackEditSource::Editor) return;
  mRedo.clear();
  if (mGroupDepth > 0) {
    mGroup.push_back(std::move(change));
  } else {
    mUndo.push_back({std::move(change)});
  }
}

void TrackEditor::Apply(const Change& change, bool forward) {
  SyncTrack& track = TrackNamed(change.track);
  const bool present = forward ? change.hasKey : change.hadKey;
  if (present) {
    SetSyncKey(track, forward ? change.after : change.before);
  } else {
    DeleteSyncKey(track, change.row);
  }
  Touched();
}

void TrackEditor::Touched() {
  mDirty = true;
  mTouchedSinceSave = true;
  mLastEditMs = mNowMs;
}

std::string TrackEditor::SavePath() const {
  return mFolder.empty() ? std::string() : (mFolder / "data" / "sync" / "tracks.xml").string();
}

bool TrackEditor::Save(std::string& error) {
  if (!mDirty) return true;
  const std::string path = SavePath();
  if (path.empty()) {
    error = "the tracks are edited in a pack, not a content folder: nowhere to save them";
    return false;
  }
  std::string text = SyncDocumentXml(Document());
  if (!ReplaceOutputFile(path, std::vector<uint8_t>(text.begin(), text.end()), error)) return false;
  mTracks.MarkSaved(std::move(text));
  mDirty = false;
  return true;
}

void TrackEditor::Poll(uint32_t nowMs) {
  mNowMs = nowMs;
  if (!mDirty || !mTouchedSinceSave || nowMs - mLastEditMs < TRACK_SAVE_QUIET_MS) return;
  mTouchedSinceSave = false;
  std::string error;
  if (Save(error)) {
    Log(LogLevel::Info, "sync", "tracks saved to %s", SavePath().c_str());
  } else {
    Log(LogLevel::Error, "sync", "tracks not saved: %s", error.c_str());
  }
}
