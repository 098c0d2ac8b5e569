// torvane-tool remote: one request to a running `torvane --dev --control SOCKET`.
#include <cstdio>
#include <cstdlib>

#include "files/json_value.h"
#include "platform/line_socket.h"
#include "tools/remote_request.h"
#include "tools/tool_command.h"

namespace {

constexpr int DEFAULT_TIMEOUT_MS = 30000;

int RunRemote(const std::vector<std::string>& rawArgs) {
  ToolArgs args;
  std::string error;
  if (!ParseToolArgs(rawArgs, {"--timeout"}, {}, args, error)) return ToolUsageError("remote", error);
  if (args.positional.size() < 2) return ToolUsageError("remote", "needs SOCKET and a command");
  int timeout = std::atoi(args.Option("--timeout", std::to_string(DEFAULT_TIMEOUT_MS)).c_str());
  if (timeout <= 0) return ToolUsageError("remote", "--timeout must be positive milliseconds");
  std::string line;
  std::vector<std::string> words(args.positional.begin() + 1, args.positional.end());
  if (!BuildRemoteRequest(words, line, error)) return ToolUsageError("remote", error);
  std::string answer;
  if (!platform::ExchangeLine(args.positional[0], line, answer, error, timeout)) {
    std::fprintf(stderr, "torvane-tool remote: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", answer.c_str());
  JsonValue parsed;
  bool refused = !JsonValue::Parse(answer, parsed, error) || !parsed.IsObject() || parsed.Find("error");
  return refused ? 1 : 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(remote, "remote", "send one request to a running developer mode and print its answer",
                     "usage: torvane-tool remote SOCKET COMMAND [ARGS] [--timeout MS]\n\n"
                     "Sends one request to `torvane --dev --control SOCKET` and prints the JSON line it\n"
                     "answers; exits 1 when the answer is an error or none comes within MS (default\n"
                     "30000). Commands:\n"
                     "  state               the playhead, the loop, what each line shows, frame time,\n"
                     "                      the reload count and the last reload's errors\n"
                     "  play | pause | quit\n"
                     "  seek MS             moves the playhead to MS milliseconds\n"
                     "  loop FROM TO        loops FROM..TO ms;  loop off  turns the loop off\n"
                     "  reload [PATH]       reloads one pack path (data\\x\\y.png) or everything\n"
                     "  screenshot FILE     writes the next composed frame (without the interface) as PNG\n"
                     "  tracks              the sync tracks: tempo, the playhead's row, each track\n"
                     "  track NAME          the keys of one track\n"
                     "  set_key TRACK ROW VALUE [INTERPOLATION]\n"
                     "                      sets a key (step, linear, smooth, ramp or 0 to 3)\n"
                     "  delete_key TRACK ROW\n"
                     "  send JSON           sends a request line as it is\n"
                     "See docs/dev-mode.md for the protocol.\n",
                     RunRemote);
