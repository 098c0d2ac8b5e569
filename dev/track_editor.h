#pragma once
// Edits of the production's sync tracks from the developer mode (its panel, the control channel,
// a sync editor): each takes effect on the next composed frame, the author's own can be undone
// and redone, and every change is saved to the content folder's tracks file once edits pause.

#include <filesystem>
#include <cstdint>
#include <string>
#include <vector>

#include "files/sync_document.h"

class ProductionTracks;

// How long edits must pause before they are saved: a pasted block or an editor's burst of keys
// is written once.
inline constexpr uint32_t TRACK_SAVE_QUIET_MS = 400;

enum class TrackEditSource { Author, Editor };

class TrackEditor {
 public:
  explicit TrackEditor(ProductionTracks& tracks) : mTracks(tracks) {}

  const SyncDocument& Document() const;
  // The track named name, made empty first when there is none.
  SyncTrack& TrackNamed(const std::string& name);

  void SetKey(const std::string& track, const SyncKey& key, TrackEditSource source = TrackEditSource::Author);
  // False when the track has no key on row.
  bool DeleteKey(const std::string& track, uint32_t row, TrackEditSource source = TrackEditSource::Author);
  // Bookmarks are the author's: they are saved, not undone.
  void ToggleBookmark(uint32_t row);

  // Edits between these two undo as one (a pasted block).
  void BeginGroup();
  void EndGroup();
  bool Undo();
  bool Redo();
  bool CanUndo() const { return !mUndo.empty(); }
  bool CanRedo() const { return !mRedo.empty(); }

  // Saves now when there are unsaved edits; false with the reason (nothing half-written).
  bool Save(std::string& error);
  // Saves once edits have paused for TRACK_SAVE_QUIET_MS; a failure is logged once per burst.
  void Poll(uint32_t nowMs);
  // The content folder the tracks are saved into; none (the default) when editing a pack.
  void SetContentFolder(std::filesystem::path folder) { mFolder = std::move(folder); }
  // Where saves go: the content folder's tracks file; empty without a content folder.
  std::string SavePath() const;

 private:
  struct Change {
    std::string track;
    uint32_t row;
    bool hadKey;
    SyncKey before;
    bool hasKey;
    SyncKey after;
  };
  using Step = std::vector<Change>;

  void Record(Change change, TrackEditSource source);
  void Apply(const Change& change, bool forward);
  void Touched();

  ProductionTracks& mTracks;
  std::filesystem::path mFolder;
  std::vector<Step> mUndo;
  std::vector<Step> mRedo;
  Step mGroup;
  int mGroupDepth = 0;
  bool mDirty = false;
  bool mTouchedSinceSave = false;
  uint32_t mLastEditMs = 0;
  uint32_t mNowMs = 0;
};
