#pragma once
// cPostEffectManager: the post-effect chain from "data\definition\postEffectDefine.xml", ordered
// by execution priority, and the answers the frame composition asks of it for entry i at demo
// time t: the effect to run, its progress, the parameters to apply and the passes to run.

#include <cstdint>
#include <string>
#include <vector>

#include "core/manager.h"
#include "files/sync_document.h"
#include "resources/post_effect_entry.h"

class cScreenBuffer;

inline constexpr const char POST_EFFECT_DEFINE_PATH[] = "data\\definition\\postEffectDefine.xml";

class cPostEffectManager : public Interface<cPostEffectManager> {
  CORE_DECLARE_MANAGER(cPostEffectManager)
  uint16_t GetPriority() const override { return 1; }
  // Releases every held effect and forgets the entries.
  bool Terminate() override;

  // Reads the definition file and loads each entry's effect ("data\shader\" + shader + ".cgfx"),
  // replacing what was loaded before. False (with no entries) when the file does not parse or its
  // root is not named "postEffectDefine...".
  bool loadDefinitions();

  size_t entryCount() const { return mEntries.size(); }
  const PostEffectEntry& Entry(size_t i) const { return mEntries[i]; }
  const std::vector<PostEffectEntry>& Entries() const { return mEntries; }
  // For the developer mode's live edits: switching an entry off, changing its constants.
  PostEffectEntry& EditEntry(size_t i) { return mEntries[i]; }
  // Why entries were left out by the last load, one line each.
  const std::vector<std::string>& LoadNotes() const { return mNotes; }

  // Entry i's effect when t is inside its window (ends included) and the entry is on; null
  // otherwise or when i is out of range.
  resShader* activeEffect(size_t i, uint32_t t) const;
  // How far t is through entry i's window, 0 to 1; 0 outside it.
  float progress(size_t i, uint32_t t) const;
  // Makes entry i's effect current, then sets its constants and binds its source buffers' textures
  // on the current effect. lineBuffers and workBuffers hold POST_EFFECT_BUFFER_COUNT buffers (null
  // where missing); a source naming no buffer is skipped.
  void applyParameters(size_t i, cScreenBuffer* const* lineBuffers, cScreenBuffer* const* workBuffers) const;

  int32_t renderTarget(size_t i) const { return mEntries[i].renderTarget; }
  int32_t execPass(size_t i) const { return mEntries[i].execPass; }
  // The first pass to run and one past the last.
  int FirstPass(size_t i) const;
  int PassEnd(size_t i) const;

  // The tracks keyed constants take their values from, at the frame's row; null tracks (a
  // production without them) leave every constant as written.
  void UseTracks(const SyncDocument* tracks, double row);

 private:
  void ReleaseAll();

  std::vector<PostEffectEntry> mEntries;
  std::vector<resShader*> mHeld;
  std::vector<std::string> mNotes;
  const SyncDocument* mTracks = nullptr;
  double mTrackRow = 0;
};
CORE_DECLARE_MANAGER_RECORD(cPostEffectManager);

extern cPostEffectManager gPostEffectManager;
