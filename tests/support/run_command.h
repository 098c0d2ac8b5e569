#pragma once
// Runs a program of the build (a tool, the player) and collects what it printed.

#include <string>
#include <vector>

struct CommandResult {
  int status = -1;  // exit status, or -1 if it did not exit normally
  std::string out;
  std::string err;
};

// Runs program with args (no shell); stdin is empty. workingDirectory "" keeps the current one.
// With a deadline (timeoutMs > 0) a program still running then is killed, and the result is a
// failure saying so: a helper that waits for something that never comes fails the test instead
// of hanging it.
CommandResult RunCommand(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDirectory = "", int timeoutMs = 0);

// Runs build/tools/torvane-tool with args.
CommandResult RunTool(const std::vector<std::string>& args, const std::string& workingDirectory = "");
