#pragma once
// Subcommands of torvane-tool. Each lives in its own file and registers itself with
// TORVANE_TOOL_COMMAND; main() handles --help and --version for all of them.

#include <map>
#include <set>
#include <string>
#include <vector>

struct ToolCommand {
  const char* name;
  const char* summary;  // one line for the command list
  const char* usage;    // full help text, starting with the synopsis
  int (*run)(const std::vector<std::string>& args);
};

// All registered commands, sorted by name.
const std::vector<ToolCommand>& ToolCommands();

struct ToolCommandRegistrar {
  explicit ToolCommandRegistrar(const ToolCommand& command);
};

#define TORVANE_TOOL_COMMAND(id, ...) static const ToolCommandRegistrar id##_registrar(ToolCommand{__VA_ARGS__})

// Command-line arguments split into positionals, options with a value and flags.
struct ToolArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
  std::set<std::string> flags;

  bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
  // The option's value, or fallback when absent.
  std::string Option(const std::string& name, const std::string& fallback = "") const;
};

// Parses args; an unknown option or a missing value sets error and returns false.
bool ParseToolArgs(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                   const std::set<std::string>& flagOptions, ToolArgs& out, std::string& error);

// Prints "torvane-tool NAME: message" to stderr and returns the status for a usage error (2).
int ToolUsageError(const char* command, const std::string& message);
