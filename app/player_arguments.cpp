#include "app/player_arguments.h"

#include <csignal>
#include <filesystem>
#include <system_error>

#include "app/entry.h"
#include "dev/dev_options.h"
#include "platform/fatal.h"
#include "platform/termination_signals.h"
#include "files/pack_table.h"

namespace fs = std::filesystem;

namespace {

constexpr char PLAYER_USAGE[] =
    "Usage: torvane [FOLDER | PACK]\n"
    "  or:  torvane --dev [OPTIONS...]\n"
    "\n"
    "Plays a demo production: the torvane.pak of FOLDER with the music.ogg beside it, or PACK with\n"
    "the music.ogg of its folder. Without an argument it plays the torvane.pak of the current\n"
    "folder, and when there is none, the installed showcase production.\n"
    "\n"
    "options:\n"
    "  --dev      open a production in the developer mode, without the launcher (see below)\n"
    "  --help     show this text\n"
    "  --version  show the version\n"
    "\n";

bool IsFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool IsFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

PlayerCommand Refuse(std::string error) {
  PlayerCommand command;
  command.request = PlayerRequest::Refused;
  command.error = std::move(error);
  return command;
}

PlayerCommand Play(const fs::path& folder, const std::string& packName) {
  PlayerCommand command;
  command.production = {folder.empty() ? "." : folder.string(), packName};
  return command;
}

// A folder must hold its torvane.pak; a pack must be a file. The music is not looked for here:
// music that cannot be played is the start's own failure, with its own box and status.
PlayerCommand ProductionNamed(const std::string& name) {
  fs::path path(name);
  if (IsFolder(path)) {
    if (IsFile(path / PACK_FILE_NAME)) return Play(path, PACK_FILE_NAME);
    return Refuse("no production in the folder " + name + ": " + (path / PACK_FILE_NAME).string() + " is not there");
  }
  if (IsFile(path)) return Play(path.parent_path(), path.filename().string());
  return Refuse("no production at " + name + ": neither a folder with a " + PACK_FILE_NAME + " nor a pack file");
}

PlayerCommand DefaultProduction(const std::string& showcaseFolder) {
  if (!IsFile(PACK_FILE_NAME) && !showcaseFolder.empty() && IsFile(fs::path(showcaseFolder) / PACK_FILE_NAME)) {
    return Play(showcaseFolder, PACK_FILE_NAME);
  }
  return Play(".", PACK_FILE_NAME);
}

// The statuses as app/entry.h defines them, so the help (and the manual made from it) follows.
std::string ExitStatusText() {
  struct Status {
    int value;
    const char* meaning;
  };
  const Status statuses[] = {
      {PLAYER_EXIT_OVER, "the demo ran to its end, or Alt+F4 or the launcher's Close ended it"},
      {PLAYER_EXIT_ESCAPE, "the viewer ended it with Escape"},
      {PLAYER_EXIT_NO_LAUNCHER, "the launcher could not be shown"},
      {PLAYER_EXIT_USAGE, "the command line names no production (the message says what was looked for)"},
      {PLAYER_EXIT_NO_MUSIC, "the music could not be played"},
      {PLAYER_EXIT_NO_WINDOW, "the window or its OpenGL context could not be created"},
      {platform::FATAL_EXIT_STATUS, "a critical error (a pack that cannot be read, a missing file)"},
      {platform::TerminationExitStatus(SIGINT), "SIGINT ended it (Ctrl+C), at any moment"},
      {platform::TerminationExitStatus(SIGTERM), "SIGTERM ended it (kill, timeout), at any moment"},
  };
  std::string text = "exit status:\n";
  for (const Status& status : statuses) text += "  " + std::to_string(status.value) + "\t" + status.meaning + "\n";
  return text;
}

// The developer mode's synopsis as an indented section of the player's help: "usage: " becomes
// the indent and its continuation lines move left to match.
std::string DevModeText() {
  const std::string prefix = "usage: ";
  const std::string indent = "  ";
  const size_t shift = prefix.size() - indent.size();
  std::string synopsis = DEV_USAGE;
  if (synopsis.rfind(prefix, 0) == 0) synopsis.replace(0, prefix.size(), indent);
  const std::string continuation = "\n" + std::string(prefix.size(), ' ');
  for (size_t at = synopsis.find(continuation); at != std::string::npos; at = synopsis.find(continuation, at + 1)) {
    synopsis.erase(at + 1, shift);
  }
  return "developer mode:\n" + synopsis;
}

}  // namespace

std::string PlayerHelpText() { return std::string(PLAYER_USAGE) + DevModeText() + "\n" + ExitStatusText(); }

PlayerCommand ReadPlayerCommand(const std::vector<std::string>& args, const std::string& showcaseFolder) {
  if (args.empty()) return DefaultProduction(showcaseFolder);
  const std::string& first = args[0];
  if (first == "--help") return PlayerCommand{PlayerRequest::Help, {}, {}};
  if (first == "--version") return PlayerCommand{PlayerRequest::Version, {}, {}};
  if (args.size() > 1) return Refuse("one production at most, but " + std::to_string(args.size()) + " arguments were given");
  if (first.rfind("--", 0) == 0) return Refuse("unknown option " + first);
  return ProductionNamed(first);
}
