#include "resources/resource_manager.h"

#include <algorithm>

#include "core/log.h"
#include "files/core_file.h"
#include "files/core_file_stream.h"

CORE_IMPLEMENT_MANAGER(resourceManager)

std::string ResourceKey(const char* path) {
  std::string key = path ? path : "";
  if (key.find(".mqo") != std::string::npos) key = key.substr(0, key.rfind('.')) + ".bmdl";
  return key;
}

resourceManager::~resourceManager() { ReleaseHeld(); }

bool resourceManager::Terminate() {
  ReleaseHeld();
  return true;
}

resourceObject* resourceManager::GetResource(const char* path) {
  std::string key = ResourceKey(path);
  if (resourceObject* cached = FindCached(key)) {
    cached->AddRef();
    return cached;
  }
  // A resource is cached only once it has loaded, so a request for one still loading is a cycle
  // (a scene animation naming itself as a model): loading it again would never end.
  if (std::find(mLoading.begin(), mLoading.end(), key) != mLoading.end()) {
    ReportCycle(key);
    return nullptr;
  }
  CoreFile file(key.c_str(), MODE_READ);
  CoreFileStream stream(&file);
  if (file.GetSize() == 0) {
    ReportNotLoaded(key, "the entry is empty");
    return nullptr;
  }
  mLoading.push_back(key);
  resourceObject* resource = LoadWithFirstAcceptingClass(stream);
  mLoading.pop_back();
  return resource;
}

void resourceManager::ReportCycle(const std::string& key) {
  std::string chain;
  auto first = std::find(mLoading.begin(), mLoading.end(), key);
  for (auto at = first; at != mLoading.end(); ++at) chain += *at + " -> ";
  chain += key;
  ReportNotLoaded(key, "it refers back to itself through " + chain);
}

resourceObject* resourceManager::FindCached(const std::string& key) const {
  for (resourceObject* resource : mCache) {
    if (resource->GetPath() == key) return resource;
  }
  return nullptr;
}

// Offers the file to every resource class in runtime class table order; the first that accepts
// and loads it wins. When none does, the one message says why.
resourceObject* resourceManager::LoadWithFirstAcceptingClass(CoreFileStream& stream) {
  bool accepted = false;
  std::string failure;
  for (const CoreRuntimeClass* record : CoreRuntimeClass::mDynHash) {
    if (!record || !::IsKindOf(record, "resourceObject")) continue;
    CoreObject* object = record->CreateObject();
    // The kind test compares name prefixes, so make sure the object really is a resource.
    resourceObject* resource = dynamic_cast<resourceObject*>(object);
    if (!resource) {
      delete object;
      continue;
    }
    resource->AddRef();
    stream.Seek(0, 1);
    if (resource->CanLoad(stream)) {
      accepted = true;
      if (resource->Load(stream)) {
        mCache.push_back(resource);
        return resource;
      }
      if (failure.empty()) failure = resource->LoadFailure();
    }
    resource->Release();
  }
  if (!accepted) failure = "no resource class reads \"." + stream.GetExtension() + "\" files";
  ReportNotLoaded(stream.GetName(), failure);
  return nullptr;
}

// Once per path and pack: models that share a broken texture ask for it again and again.
void resourceManager::ReportNotLoaded(const std::string& key, const std::string& reason) {
  if (mReportedPack != PackageGeneration()) {
    mReported.clear();
    mReportedPack = PackageGeneration();
  }
  if (!mReported.insert(key).second) return;
  if (reason.empty()) {
    Log(LogLevel::Error, "resource", "%s: not loaded", key.c_str());
  } else {
    Log(LogLevel::Error, "resource", "%s: not loaded: %s", key.c_str(), reason.c_str());
  }
}

void resourceManager::RemoveFromCache(const resourceObject* resource) {
  auto found = std::find(mCache.begin(), mCache.end(), resource);
  if (found != mCache.end()) mCache.erase(found);
}

void resourceManager::AddPreload(const char* path) {
  std::string text = path ? path : "";
  if (std::find(mPreloads.begin(), mPreloads.end(), text) == mPreloads.end()) mPreloads.push_back(text);
}

void resourceManager::ComputeProgressStep(LoadWeightFunction weight) {
  long long total = 0;
  for (const std::string& path : mPreloads) total += weight ? weight(path.c_str()) : 1;
  mProgressStep = total > 0 ? 1.0f / float(total) : 0.0f;
}

void resourceManager::LoadPreloads() {
  ReleaseHeld();
  for (const std::string& path : mPreloads) mHeld.push_back(GetResource(path.c_str()));
}

void resourceManager::ClearPreloads() {
  ReleaseHeld();
  mPreloads.clear();
}

void resourceManager::ReleaseHeld() {
  std::vector<resourceObject*> held;
  held.swap(mHeld);
  for (resourceObject* resource : held) {
    if (resource) resource->Release();
  }
}

void resourceManager::SetLoadingScene(std::unique_ptr<LoadingScene> scene) {
  mLoadingScene = std::move(scene);
  if (mLoadingScene) mLoadingScene->PresentFrame(0.0f, false);
}

void resourceManager::AdvanceProgress() {
  mProgress += mProgressStep;
  if (mLoadingScene) mLoadingScene->PresentFrame(mProgress, true);
}
