#pragma once
// The player's command line: `torvane [FOLDER | PACK]`, `--help`, `--version` (`--dev` is the
// developer mode's, dev/dev_options.h). It decides which production plays before anything starts.

#include <string>
#include <vector>

// The status for a command line the player cannot follow, or that names no production.
inline constexpr int PLAYER_EXIT_USAGE = 2;

// Where the production is: the player plays packName, with music.ogg, from folder.
struct PlayerProduction {
  std::string folder;
  std::string packName;
};

enum class PlayerRequest { Play, Help, Version, Refused };

struct PlayerCommand {
  PlayerRequest request = PlayerRequest::Play;
  PlayerProduction production;
  std::string error;  // for Refused: what is wrong, naming what was looked for
};

// The text of `torvane --help`: the player's synopsis and options, then the developer mode's.
std::string PlayerHelpText();

// Reads args (without the program's name). Without an argument the production is the current
// folder's pack when there is one, else the showcase in showcaseFolder when it is installed,
// else the current folder as ever (its missing pack is then the start's critical error).
PlayerCommand ReadPlayerCommand(const std::vector<std::string>& args, const std::string& showcaseFolder);
