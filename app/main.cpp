#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/entry.h"
#include "app/installed_showcase.h"
#include "app/player_arguments.h"
#include "dev/dev_session.h"
#include "shell/system_manager.h"

namespace {

// The player reads its production by names relative to the folder it plays from.
int PlayFrom(const PlayerProduction& production) {
  if (chdir(production.folder.c_str()) != 0) {
    std::fprintf(stderr, "torvane: %s: %s\n", production.folder.c_str(), std::strerror(errno));
    return PLAYER_EXIT_USAGE;
  }
  gSystemManager.SetPackPath(production.packName);
  return RunPlayer();
}

}  // namespace

// "--dev" first starts the developer mode; otherwise the one argument names the production.
int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "--dev") return RunDevMode(std::vector<std::string>(args.begin() + 1, args.end()));
  PlayerCommand command = ReadPlayerCommand(args, InstalledShowcaseFolder());
  switch (command.request) {
    case PlayerRequest::Help:
      std::printf("%s", PlayerHelpText().c_str());
      return 0;
    case PlayerRequest::Version:
      std::printf("torvane %s\n", TORVANE_VERSION);
      return 0;
    case PlayerRequest::Refused:
      std::fprintf(stderr, "torvane: %s (see torvane --help)\n", command.error.c_str());
      return PLAYER_EXIT_USAGE;
    case PlayerRequest::Play:
      break;
  }
  return PlayFrom(command.production);
}
