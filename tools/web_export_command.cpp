// torvane-tool web-export: a production as a folder of static files that plays in a browser.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "files/output_file.h"
#include "files/pack_file.h"
#include "sound/music_probe.h"
#include "tools/pack_opening.h"
#include "tools/tool_command.h"

namespace {

namespace fs = std::filesystem;

// What the browser build (scripts/web.sh) leaves in its folder, and the names the page fetches.
const char* const ENGINE_FILES[] = {"torvane.html", "torvane.js", "torvane.wasm"};
constexpr char PACK_NAME[] = "torvane.pak";
constexpr char MUSIC_NAME[] = "music.ogg";
// Served as the folder's own address, so that a link to the folder plays.
constexpr char INDEX_NAME[] = "index.html";

int Fail(const std::string& message) {
  std::fprintf(stderr, "torvane-tool web-export: %s\n", message.c_str());
  return 1;
}

bool ReadWhole(const fs::path& path, std::vector<uint8_t>& bytes, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path.string();
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "cannot read " + path.string();
    return false;
  }
  return true;
}

bool CheckPack(const std::string& path, std::string& error) {
  if (!InstallPackFile(path, error)) return false;
  ClosePackage();
  return true;
}

bool CheckMusic(const std::string& path, std::string& error) {
  MusicProbe probe = ProbeMusic(path);
  if (probe.decoder && probe.opens && probe.playable) return true;
  error = path + (probe.opens ? " is in a sound format the player cannot play" : " is not music the player can read");
  return false;
}

struct ExportFile {
  fs::path from;
  std::string name;
};

std::vector<ExportFile> FilesToExport(const fs::path& engine, const std::string& pack, const std::string& music) {
  std::vector<ExportFile> files;
  for (const char* name : ENGINE_FILES) files.push_back({engine / name, name});
  files.push_back({engine / ENGINE_FILES[0], INDEX_NAME});
  files.push_back({pack, PACK_NAME});
  files.push_back({music, MUSIC_NAME});
  return files;
}

// The browser build beside the source tree this program was built in.
fs::path DefaultEngineFolder() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) return TORVANE_WEB_BUILD_FROM_TOOL;
  return (self.parent_path() / TORVANE_WEB_BUILD_FROM_TOOL).lexically_normal();
}

int RunWebExport(const std::vector<std::string>& args) {
  ToolArgs parsed;
  std::string error;
  if (!ParseToolArgs(args, {"--pack", "--music", "--out", "--engine"}, {}, parsed, error)) {
    return ToolUsageError("web-export", error);
  }
  if (!parsed.positional.empty()) return ToolUsageError("web-export", "takes no positional arguments");
  for (const char* needed : {"--pack", "--music", "--out"}) {
    if (parsed.Option(needed).empty()) return ToolUsageError("web-export", std::string("needs ") + needed);
  }
  const std::string pack = parsed.Option("--pack");
  const std::string music = parsed.Option("--music");
  const fs::path out = parsed.Option("--out");
  const fs::path engine = parsed.Option("--engine", DefaultEngineFolder().string());
  if (!CheckPack(pack, error) || !CheckMusic(music, error)) return Fail(error + "; nothing written");
  // Everything is read before anything is written: a missing piece leaves the folder as it was.
  std::vector<ExportFile> files = FilesToExport(engine, pack, music);
  std::vector<std::vector<uint8_t>> contents(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    if (!ReadWhole(files[i].from, contents[i], error)) {
      if (i < std::size(ENGINE_FILES)) error += " (build the browser player first: bash scripts/web.sh)";
      return Fail(error + "; nothing written");
    }
  }
  for (size_t i = 0; i < files.size(); ++i) {
    const fs::path target = out / files[i].name;
    if (!ReplaceOutputFile(target.string(), contents[i], error)) return Fail(error);
    std::printf("%s\n", target.string().c_str());
  }
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(web_export, "web-export", "write a folder that plays the production in a web browser",
                     "usage: torvane-tool web-export --pack P --music M --out DIR [--engine BUILD]\n\n"
                     "Writes into DIR the browser player (index.html, torvane.html, torvane.js,\n"
                     "torvane.wasm) with the pack P as torvane.pak and the music M as music.ogg: a\n"
                     "folder any static web server can serve, which fetches nothing from elsewhere.\n"
                     "The page's controls choose aspect, multisampling and quality; ?at=MS shows the\n"
                     "frame at MS paused, ?fsaa=N and ?aspect=A:B preset the controls. The player\n"
                     "comes from BUILD (default: the build-web folder scripts/web.sh makes). The pack\n"
                     "and the music are checked first; when either is unreadable nothing is written.\n",
                     RunWebExport);
