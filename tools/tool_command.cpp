#include "tools/tool_command.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

std::vector<ToolCommand>& Registry() {
  static std::vector<ToolCommand> commands;
  return commands;
}

}  // namespace

const std::vector<ToolCommand>& ToolCommands() { return Registry(); }

ToolCommandRegistrar::ToolCommandRegistrar(const ToolCommand& command) {
  auto& commands = Registry();
  auto position = std::lower_bound(commands.begin(), commands.end(), command,
                                   [](const ToolCommand& a, const ToolCommand& b) { return std::strcmp(a.name, b.name) < 0; });
  commands.insert(position, command);
}

std::string ToolArgs::Option(const std::string& name, const std::string& fallback) const {
  auto found = options.find(name);
  return found == options.end() ? fallback : found->second;
}

bool ParseToolArgs(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                   const std::set<std::string>& flagOptions, ToolArgs& out, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      out.positional.push_back(arg);
    } else if (valueOptions.count(arg)) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
      }
      out.options[arg] = args[++i];
    } else if (flagOptions.count(arg)) {
      out.flags.insert(arg);
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  return true;
}

int ToolUsageError(const char* command, const std::string& message) {
  std::fprintf(stderr, "torvane-tool %s: %s (see torvane-tool %s --help)\n", command, message.c_str(), command);
  return 2;
}
