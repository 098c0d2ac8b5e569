#pragma once
// Live reload: a changed file of the content folder is loaded again in the running demo. Textures
// and effects are replaced in place (a texture also has the scenes made again, as their renderers
// keep its GL name); a scene animation, a model or a definition file rebuilds the timeline, with every other loaded resource kept (held through the rebuild, so that only what
// changed is read again). A version that does not load — a half-written save, an image that no
// longer decodes, an effect that does not build, a removed file — leaves the previous one in use,
// and the reason is logged and reported. Resource counts are the same after a reload as before.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "files/content_folder.h"
#include "platform/file_watcher.h"

// How long the folder must be quiet before its changes are loaded: editors write in steps.
inline constexpr uint32_t RELOAD_QUIET_MS = 150;

enum class ReloadKind {
  Ignored,         // no resource of the demo has this kind of name
  InPlace,         // texture, effect
  SceneAnimation,  // ".tdf"
  Model,           // ".mqo", ".bmdl"
  Definition,      // ".xml"
  Tracks,          // the sync tracks file: read again, nothing rebuilt
};

ReloadKind ReloadKindOf(const std::string& name);

// A glTF scene in the content folder's scenes/ folder: imported into the folder when it changes.
bool IsSceneSource(const std::filesystem::path& file, const std::filesystem::path& contentFolder);

// Whether a scene animation text is whole: its braces (outside quoted names) close in order and
// it opens at least one. A save caught half-written is not.
bool SceneAnimationIsWhole(const std::string& text, std::string& error);

struct ReloadReport {
  std::vector<std::string> reloaded;  // the names loaded anew
  std::vector<std::string> errors;    // the log's warnings and errors while reloading
  bool timelineRebuilt = false;
};

class LiveReload {
 public:
  // Loads the named pack entries again; with no names, every loaded texture and effect, every
  // scene animation and model, and the definitions.
  ReloadReport Reload(const std::vector<std::string>& names);

  // Watches the content folder whose loose files stand in for the pack's; false with the reason in
  // error.
  bool Watch(std::shared_ptr<const files::ContentFolder> folder, std::string& error);
  // Collects the folder's changes and, once it has been quiet for RELOAD_QUIET_MS, reloads them.
  // True when a reload ran (its report is LastReport()).
  bool Poll(uint32_t nowMs);

  const ReloadReport& LastReport() const { return mLastReport; }
  // Reloads that changed or refused something.
  size_t Count() const { return mCount; }

 private:
  ReloadReport Run(const std::vector<std::string>& names);
  void RefreshInPlace(const std::string& name, ReloadReport& report);
  // Imports the changed scenes; one that fails is logged and leaves the files it made before.
  void ImportScenes();
  void ReloadTracks(const std::string& name, ReloadReport& report);

  platform::FileWatcher mWatcher;
  std::shared_ptr<const files::ContentFolder> mFolder;
  std::set<std::string> mPending;
  std::set<std::filesystem::path> mPendingScenes;
  uint32_t mLastChange = 0;
  ReloadReport mLastReport;
  size_t mCount = 0;
};
