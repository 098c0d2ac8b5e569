#include "dev/live_reload.h"

#include <mutex>
#include <strings.h>

#include "core/log.h"
#include "demo/demo_manager.h"
#include "demo/scene_import.h"
#include "files/content_folder.h"
#include "files/core_file.h"
#include "files/core_file_stream.h"
#include "files/definition_xml.h"
#include "files/entry_text.h"
#include "files/pack_file.h"
#include "files/model_cache.h"
#include "render/image/decoders.h"
#include "resources/res_mqo.h"
#include "resources/res_shader.h"
#include "resources/res_tdf.h"
#include "resources/res_texture.h"
#include "resources/resource_manager.h"

namespace {

bool ExtensionIs(const std::string& extension, const char* wanted) { return strcasecmp(extension.c_str(), wanted) == 0; }

// The log's warnings and errors while it lives, as the log writes them.
class LogCapture {
 public:
  LogCapture() {
    mSink = AddLogSink([this](const LogMessage& message) {
      if (message.level < LogLevel::Warning) return;
      std::lock_guard<std::mutex> guard(mLock);
      mLines.push_back(FormatLogLine(message));
    });
  }
  ~LogCapture() { RemoveLogSink(mSink); }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<std::string> Lines() {
    std::lock_guard<std::mutex> guard(mLock);
    return mLines;
  }

 private:
  int mSink = 0;
  std::mutex mLock;
  std::vector<std::string> mLines;
};

resourceObject* FindCached(const std::string& key) {
  for (resourceObject* resource : gResourceManager.Cache()) {
    if (resource->GetPath() == key) return resource;
  }
  return nullptr;
}

// What the timeline's rebuild must read again; everything else stays loaded.
struct FreshResources {
  std::set<std::string> keys;
  bool everyAnimation = false;  // animations hold their models' data
  bool everyModel = false;

  bool Includes(resourceObject* resource) const {
    if (keys.count(resource->GetPath())) return true;
    if (everyAnimation && dynamic_cast<resTDF*>(resource)) return true;
    return everyModel && dynamic_cast<resMQO*>(resource);
  }
};

// Holds every loaded resource that is not to be read again while the demo rebuilds its timeline,
// then lets go: what the new timeline no longer uses is freed, the rest keeps its count.
void RebuildTimeline(const FreshResources& fresh) {
  std::vector<resourceObject*> held;
  for (resourceObject* resource : gResourceManager.Cache()) {
    if (fresh.Includes(resource)) continue;
    resource->AddRef();
    held.push_back(resource);
  }
  gDemoManager.ReloadTimeline();
  for (resourceObject* resource : held) resource->Release();
}

bool ModelIsWhole(const std::string& key) {
  CoreFile file(key.c_str(), MODE_READ);
  std::vector<uint8_t> bytes(file.GetSize());
  bytes.resize(static_cast<size_t>(file.Read(bytes.data(), bytes.size())));
  ModelData model;
  return !bytes.empty() && ParseModelCache(bytes.data(), bytes.size(), model);
}

bool DefinitionIsWhole(const std::string& name, std::string& error) {
  std::string text = ReadEntryText(name.c_str());
  XmlParseResult result = ParseXmlText(text.c_str(), text.size(), DEFINITION_ROOT_TAG);
  if (result.code == 0) return true;
  error = XmlErrorMessage(result, name.c_str(), DEFINITION_ROOT_TAG);
  return false;
}

}  // namespace

bool IsSceneSource(const std::filesystem::path& file, const std::filesystem::path& folder) {
  return !folder.empty() && IsGltfSceneFile(file) &&
         std::filesystem::weakly_canonical(file.parent_path()) == std::filesystem::weakly_canonical(folder / CONTENT_SCENES_FOLDER);
}

ReloadKind ReloadKindOf(const std::string& name) {
  std::string extension = PathExtension(name);
  if (ImageCanLoad(extension)) return ReloadKind::InPlace;
  if (ExtensionIs(extension, "cg") || ExtensionIs(extension, "fx") || ExtensionIs(extension, "cgfx")) return ReloadKind::InPlace;
  if (ExtensionIs(extension, "tdf")) return ReloadKind::SceneAnimation;
  if (ExtensionIs(extension, "mqo") || ExtensionIs(extension, "bmdl")) return ReloadKind::Model;
  if (XmlNamesEqual(name.c_str(), SYNC_TRACKS_PATH)) return ReloadKind::Tracks;
  if (ExtensionIs(extension, "xml")) return ReloadKind::Definition;
  return ReloadKind::Ignored;
}

bool SceneAnimationIsWhole(const std::string& text, std::string& error) {
  int depth = 0;
  int blocks = 0;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '{') {
      ++depth;
      ++blocks;
    } else if (c == '}' && --depth < 0) {
      error = "a \"}\" closes nothing";
      return false;
    }
  }
  if (blocks == 0) {
    error = "no block at all";
    return false;
  }
  if (depth != 0) {
    error = std::to_string(depth) + " block(s) left open (saved half-written?)";
    return false;
  }
  return true;
}

ReloadReport LiveReload::Reload(const std::vector<std::string>& names) {
  LogCapture capture;
  ReloadReport report = Run(names);
  report.errors = capture.Lines();
  if (!report.reloaded.empty() || !report.errors.empty()) ++mCount;
  mLastReport = report;
  return report;
}

void LiveReload::ReloadTracks(const std::string& name, ReloadReport& report) {
  std::string why;
  switch (gDemoManager.Tracks().Reload(why)) {
    case ProductionTracks::Outcome::Unchanged: break;
    case ProductionTracks::Outcome::Loaded: report.reloaded.push_back(name); break;
    case ProductionTracks::Outcome::Refused:
      Log(LogLevel::Error, "dev", "%s: %s; the tracks loaded stay", name.c_str(), why.c_str());
      break;
  }
}

void LiveReload::RefreshInPlace(const std::string& name, ReloadReport& report) {
  std::string key = ResourceKey(name.c_str());
  resourceObject* resource = FindCached(key);
  if (!resource) {
    Log(LogLevel::Info, "dev", "%s: nothing loaded uses it", name.c_str());
    return;
  }
  CoreFile file(key.c_str(), MODE_READ);
  CoreFileStream stream(&file);
  if (!resource->Refresh(stream)) return;
  report.reloaded.push_back(name);
  // The scenes' model renderers keep the GL names of their textures: a new texture reaches them
  // through scenes made again (from what is loaded; nothing more is read).
  if (dynamic_cast<resTexture*>(resource)) report.timelineRebuilt = true;
}

ReloadReport LiveReload::Run(const std::vector<std::string>& names) {
  ReloadReport report;
  FreshResources fresh;
  bool rebuild = false;
  std::vector<std::string> rebuilding;
  if (names.empty()) {
    // Paths rather than pointers: a refreshed effect can give its fallback back, which may free it.
    std::vector<std::string> loaded;
    for (resourceObject* resource : gResourceManager.Cache()) {
      if (dynamic_cast<resTexture*>(resource) || dynamic_cast<resShader*>(resource)) loaded.push_back(resource->GetPath());
    }
    for (const std::string& path : loaded) RefreshInPlace(path, report);
    fresh.everyAnimation = true;
    fresh.everyModel = true;
    rebuild = true;
    if (EntryExists(SYNC_TRACKS_PATH)) ReloadTracks(SYNC_TRACKS_PATH, report);
  }
  for (const std::string& name : names) {
    std::string why;
    switch (ReloadKindOf(name)) {
      case ReloadKind::Ignored: break;
      case ReloadKind::InPlace: RefreshInPlace(name, report); break;
      case ReloadKind::SceneAnimation:
        if (!SceneAnimationIsWhole(ReadEntryText(name.c_str()), why)) {
          Log(LogLevel::Error, "dev", "%s: %s; the version loaded stays", name.c_str(), why.c_str());
          break;
        }
        fresh.keys.insert(name);
        rebuilding.push_back(name);
        rebuild = true;
        break;
      case ReloadKind::Model:
        if (!ModelIsWhole(ResourceKey(name.c_str()))) {
          Log(LogLevel::Error, "dev", "%s does not load as a model; the version loaded stays", name.c_str());
          break;
        }
        fresh.keys.insert(ResourceKey(name.c_str()));
        fresh.everyAnimation = true;
        rebuilding.push_back(name);
        rebuild = true;
        break;
      case ReloadKind::Tracks: ReloadTracks(name, report); break;
      case ReloadKind::Definition:
        if (!DefinitionIsWhole(name, why)) {
          Log(LogLevel::Error, "dev", "%s; the definitions loaded stay", why.c_str());
          break;
        }
        rebuilding.push_back(name);
        rebuild = true;
        break;
    }
  }
  if (rebuild || report.timelineRebuilt) {
    RebuildTimeline(fresh);
    report.timelineRebuilt = true;
    report.reloaded.insert(report.reloaded.end(), rebuilding.begin(), rebuilding.end());
  }
  return report;
}

bool LiveReload::Watch(std::shared_ptr<const files::ContentFolder> folder, std::string& error) {
  mFolder = std::move(folder);
  return mWatcher.Watch(mFolder->Root().string(), error);
}

void LiveReload::ImportScenes() {
  for (const std::filesystem::path& scene : mPendingScenes) {
    if (!std::filesystem::exists(scene)) continue;
    GltfImport import;
    std::string error;
    std::string name = std::filesystem::relative(scene, mFolder->Root()).generic_string();
    bool imported = ImportSceneFile(scene, mFolder->Root(), {}, import, error);
    for (const std::string& warning : import.warnings) Log(LogLevel::Warning, "dev", "%s: %s", name.c_str(), warning.c_str());
    if (imported) {
      Log(LogLevel::Info, "dev", "%s imported; its model and scene animation load next", name.c_str());
    } else {
      Log(LogLevel::Error, "dev", "%s: %s; the scene loaded stays", name.c_str(), error.c_str());
    }
  }
  mPendingScenes.clear();
}

bool LiveReload::Poll(uint32_t nowMs) {
  for (const platform::FileChange& change : mWatcher.Poll()) {
    if (mFolder && IsSceneSource(change.path, mFolder->Root())) {
      mPendingScenes.insert(change.path);
      mLastChange = nowMs;
      continue;
    }
    std::string name = mFolder->PackNameOf(change.path);
    if (name.empty() || ReloadKindOf(name) == ReloadKind::Ignored) continue;
    mPending.insert(name);
    mLastChange = nowMs;
  }
  if (mPending.empty() && mPendingScenes.empty()) return false;
  if (nowMs - mLastChange < RELOAD_QUIET_MS) return false;
  if (!mPendingScenes.empty()) {
    // The import's files arrive as changes of their own and load on a later poll.
    LogCapture capture;
    ImportScenes();
    mLastReport = ReloadReport{};
    mLastReport.errors = capture.Lines();
    if (!mLastReport.errors.empty()) ++mCount;
    if (mPending.empty()) return true;
  }
  std::vector<std::string> names;
  std::vector<std::string> removed;
  for (const std::string& name : mPending) (mFolder->Has(name) ? names : removed).push_back(name);
  mPending.clear();
  LogCapture capture;
  for (const std::string& name : removed) {
    Log(LogLevel::Warning, "dev", "%s was removed; the version loaded stays", name.c_str());
  }
  ReloadReport report = names.empty() ? ReloadReport{} : Run(names);
  report.errors = capture.Lines();
  if (!report.reloaded.empty() || !report.errors.empty()) ++mCount;
  mLastReport = report;
  return true;
}
