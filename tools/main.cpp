// torvane-tool: one command with subcommands for authors and for checking the engine.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/critical.h"
#include "tools/tool_command.h"

namespace {

// Two spaces at least between a name and its summary, also after the longest name: that is how
// readers of the list (the manual page's maker, the shell completion) tell them apart.
void PrintCommandList() {
  std::printf("Usage: torvane-tool COMMAND [ARGS...]\n  or:  torvane-tool COMMAND --help\n\ncommands:\n");
  int width = 0;
  for (const ToolCommand& command : ToolCommands()) width = std::max(width, static_cast<int>(std::strlen(command.name)));
  for (const ToolCommand& command : ToolCommands()) std::printf("  %-*s  %s\n", width, command.name, command.summary);
  std::printf("\noptions:\n  --help     show this text\n  --version  show the version\n");
}

const ToolCommand* FindCommand(const char* name) {
  for (const ToolCommand& command : ToolCommands()) {
    if (std::strcmp(command.name, name) == 0) return &command;
  }
  return nullptr;
}

bool Contains(const std::vector<std::string>& args, const char* wanted) {
  for (const std::string& arg : args) {
    if (arg == wanted) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // Nobody may be at the screen to answer a box: a critical error ends on stderr alone.
  ShowCriticalBoxes(false);
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
    PrintCommandList();
    return argc < 2 ? 2 : 0;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("torvane-tool %s\n", TORVANE_VERSION);
    return 0;
  }
  const ToolCommand* command = FindCommand(argv[1]);
  if (!command) {
    std::fprintf(stderr, "torvane-tool: unknown command '%s' (see torvane-tool --help)\n", argv[1]);
    return 2;
  }
  std::vector<std::string> args(argv + 2, argv + argc);
  if (Contains(args, "--help")) {
    std::printf("%s", command->usage);
    return 0;
  }
  if (Contains(args, "--version")) {
    std::printf("torvane-tool %s %s\n", command->name, TORVANE_VERSION);
    return 0;
  }
  return command->run(args);
}
