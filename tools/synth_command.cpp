// torvane-tool synth: renders a score to Ogg Vorbis music.
#include <cstdio>
#include <cstdlib>

#include "tools/score_rendering.h"
#include "tools/tool_command.h"

namespace {

int RunSynth(const std::vector<std::string>& rawArgs) {
  ToolArgs args;
  std::string error;
  if (!ParseToolArgs(rawArgs, {"--quality"}, {}, args, error)) return ToolUsageError("synth", error);
  if (args.positional.size() != 2) return ToolUsageError("synth", "needs SCORE and OUT.ogg");
  float quality = DEFAULT_SYNTH_QUALITY;
  if (args.options.count("--quality")) {
    char* end = nullptr;
    quality = std::strtof(args.Option("--quality").c_str(), &end);
    if (*end != '\0' || quality < -0.1f || quality > 1.0f) return ToolUsageError("synth", "--quality must be -0.1 to 1");
  }
  if (!RenderScoreFile(args.positional[0], args.positional[1], quality, error)) {
    std::fprintf(stderr, "torvane-tool synth: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(synth, "synth", "render a music score to Ogg Vorbis",
                     "usage: torvane-tool synth SCORE OUT.ogg [--quality Q]\n\n"
                     "Renders the score (instruments and notes, see docs/music.md) to 44.1 kHz stereo\n"
                     "and encodes it as Ogg Vorbis with VBR quality Q (-0.1 to 1, default 0.4).\n"
                     "The same score always gives the same file.\n",
                     RunSynth);
