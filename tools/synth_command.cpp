// torvane-tool synth: renders a score to Ogg Vorbis music.
#include <cstdio>
#include <cstdlib>

#include "tools/json_writer.h"
#include "tools/synth/score_rendering.h"
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
  ScoreLoudness loudness;
  if (!RenderScoreFile(args.positional[0], args.positional[1], quality, error, &loudness)) {
    // A mistake in the score is written as its own FILE:LINE line, for editors to jump to.
    const bool located = error.rfind(args.positional[0] + ":", 0) == 0;
    std::fprintf(stderr, "%s%s\n", located ? "" : "torvane-tool synth: ", error.c_str());
    return 1;
  }
  if (loudness.mastered) {
    JsonWriter json;
    json.BeginObject().Key("integratedLufs").Number(loudness.figures.integratedLufs);
    json.Key("truePeakDbtp").Number(loudness.figures.truePeakDbtp).EndObject();
    std::printf("%s\n", json.Text().c_str());
  }
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(synth, "synth", "render a music score to Ogg Vorbis",
                     "usage: torvane-tool synth SCORE OUT.ogg [--quality Q]\n\n"
                     "Renders the score (instruments, notes, effects and automation, see\n"
                     "docs/music.md) to 44.1 kHz stereo and encodes it as Ogg Vorbis with VBR\n"
                     "quality Q (-0.1 to 1, default 0.4). A score with a master line is brought to its\n"
                     "loudness under its true-peak ceiling, measured on the encoded file, and the\n"
                     "figures are printed as JSON. The same score always gives the same file.\n",
                     RunSynth);
