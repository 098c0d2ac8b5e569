#pragma once
// resourceManager: the cache of loaded resources, keyed by pack path and shared by reference
// count, and the start-up preloading of the scene animations behind the loading screen.
//
// Start-up order: SetLoadingScene(scene); AddPreload(path) for each scene animation;
// ComputeProgressStep(weight); LoadPreloads(). Loaders call AdvanceProgress after each model.

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/manager.h"
#include "resources/loading_scene.h"
#include "resources/resource_object.h"

// A path's share of the loading progress (for a scene animation: its number of model references).
using LoadWeightFunction = int (*)(const char* path);

class resourceManager : public Interface<resourceManager> {
  CORE_DECLARE_MANAGER(resourceManager)
  resourceManager() = default;
  // Releases the held preloads.
  ~resourceManager() override;
  uint16_t GetPriority() const override { return 65535; }
  // Releases the held preloads while the rest of the engine is still up.
  bool Terminate() override;

  // The resource for path with one more reference for the caller, or null (with a logged line
  // saying why, once per path and pack) when the entry is empty, no resource class loads it, or it is requested again
  // while it is still loading (a cycle). A path containing ".mqo" is served from the ".bmdl"
  // beside it. A path that is not in the pack is a critical error.
  virtual resourceObject* GetResource(const char* path);

  // Forgets resource (by identity) if it is cached. Called by the last Release.
  void RemoveFromCache(const resourceObject* resource);

  // Adds path to the preload list unless the same text is already there.
  void AddPreload(const char* path);
  // Sets the progress step to 1 / the sum of the preloads' weights (each path weighs 1 when
  // weight is null; the step is 0 when the sum is not positive).
  void ComputeProgressStep(LoadWeightFunction weight);
  // Releases the held preloads, then gets every preload path again, holding each result (null too).
  void LoadPreloads();
  // Releases the held preloads and empties the preload list, for loading another production.
  void ClearPreloads();

  // Installs the loading scene (destroying the previous one) and, when there is one, presents its
  // first frame at progress 0.
  void SetLoadingScene(std::unique_ptr<LoadingScene> scene);
  // Adds the step to the progress and presents a loading frame at the new progress.
  void AdvanceProgress();

  const std::vector<resourceObject*>& Cache() const { return mCache; }
  const std::vector<std::string>& Preloads() const { return mPreloads; }
  const std::vector<resourceObject*>& Held() const { return mHeld; }
  float Progress() const { return mProgress; }
  float ProgressStep() const { return mProgressStep; }

 private:
  resourceObject* FindCached(const std::string& key) const;
  resourceObject* LoadWithFirstAcceptingClass(CoreFileStream& stream);
  void ReportCycle(const std::string& key);
  void ReportNotLoaded(const std::string& key, const std::string& reason);
  void ReleaseHeld();

  std::vector<resourceObject*> mCache;
  std::vector<std::string> mPreloads;
  float mProgressStep = 0.0f;
  float mProgress = 0.0f;
  std::unique_ptr<LoadingScene> mLoadingScene;
  std::vector<resourceObject*> mHeld;
  std::vector<std::string> mLoading;  // keys being loaded, outermost first
  std::set<std::string> mReported;    // keys whose failure has been named for this pack
  uint64_t mReportedPack = 0;         // the pack generation they belong to
};
CORE_DECLARE_MANAGER_RECORD(resourceManager);

// The cache key of path: a path containing ".mqo" is cut at its last "." and gets ".bmdl".
std::string ResourceKey(const char* path);

extern resourceManager gResourceManager;
