// torvane-tool capture-join: segments of one capture into one file, without re-encoding.
#include <cstdio>

#include "tools/capture/segment_join.h"
#include "tools/tool_command.h"

namespace {

int RunCaptureJoin(const std::vector<std::string>& rawArgs) {
  ToolArgs args;
  std::string error;
  if (!ParseToolArgs(rawArgs, {}, {}, args, error)) return ToolUsageError("capture-join", error);
  if (args.positional.size() < 2) return ToolUsageError("capture-join", "expects OUT and at least one SEGMENT");
  std::vector<std::string> segments(args.positional.begin() + 1, args.positional.end());
  if (!JoinSegments(args.positional.front(), segments, error)) {
    std::fprintf(stderr, "torvane-tool capture-join: %s\n", error.c_str());
    return 1;
  }
  std::fprintf(stderr, "torvane-tool capture-join: %zu segment(s) joined: %s\n", segments.size(),
               args.positional.front().c_str());
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(capture_join, "capture-join", "join capture segments into one video file without re-encoding",
                     "usage: torvane-tool capture-join OUT SEGMENT...\n\n"
                     "Joins segments made by `torvane-tool capture --frames A:B` into OUT (container from its\n"
                     "extension), in frame order whatever the order given, copying their packets with the\n"
                     "timestamps they carry. Refuses segments with a gap or an overlap between them, in\n"
                     "frames or in sound, segments encoded differently, and AAC or Opus sound (each segment\n"
                     "begins with encoder priming; capture segments with --audio flac). OUT is written under\n"
                     "a temporary name and renamed when complete.\n",
                     RunCaptureJoin);
