#include "dev/dev_options.h"

#include <filesystem>
#include <system_error>

#include "demo/frame_options.h"
#include "files/content_layout.h"
#include "dev/sync_editor_client.h"
#include "sound/sound_player.h"

const char DEV_USAGE[] =
    "usage: torvane --dev [--pack P | --content DIR] [--music M] [--size WxH] [--fsaa N]\n"
    "                     [--aspect A:B] [--low-quality] [--control SOCKET]\n"
    "                     [--sync-editor HOST:PORT] [--play]\n";

namespace {

// Beside the pack, as the player finds it; in a content folder alone, where the build keeps a
// prepared music file (music/music.ogg), else at its top.
std::string DefaultMusic(const DevOptions& options) {
  namespace fs = std::filesystem;
  if (!options.packPath.empty()) return (fs::path(options.packPath).parent_path() / MUSIC_FILE_NAME).string();
  fs::path prepared = fs::path(options.contentPath) / files::CONTENT_MUSIC_FOLDER / MUSIC_FILE_NAME;
  std::error_code error;
  if (fs::is_regular_file(prepared, error)) return prepared.string();
  return (fs::path(options.contentPath) / MUSIC_FILE_NAME).string();
}

}  // namespace

bool ParseDevOptions(const std::vector<std::string>& args, DevOptions& options, std::string& error) {
  options = DevOptions{};
  bool packGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--play") {
      options.play = true;
      continue;
    }
    if (name == "--low-quality") {
      options.frame.lowQuality = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      error = name.rfind("--", 0) == 0 ? name + " needs a value" : "unexpected argument " + name;
      return false;
    }
    const std::string& value = args[++i];
    if (name == "--pack") {
      options.packPath = value;
      packGiven = true;
    } else if (name == "--content") {
      options.contentPath = value;
    } else if (name == "--music") {
      options.musicPath = value;
    } else if (name == "--control") {
      options.controlPath = value;
    } else if (name == "--sync-editor") {
      std::string host;
      uint16_t port = 0;
      if (!ParseSyncEditorAddress(value, host, port)) {
        error = "--sync-editor must be HOST:PORT";
        return false;
      }
      options.syncEditor = value;
    } else if (demo::IsFrameValueOption(name)) {
      if (!demo::ApplyFrameOption(name, value, options.frame, error)) return false;
    } else {
      error = "unknown option " + name;
      return false;
    }
  }
  if (!packGiven && options.contentPath.empty()) options.packPath = "torvane.pak";
  if (options.frame.lowQuality) options.frame.fsaaLevel = 0;
  if (options.musicPath.empty()) options.musicPath = DefaultMusic(options);
  return true;
}
