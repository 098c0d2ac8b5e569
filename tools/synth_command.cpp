// torvane-tool synth: renders a score to Ogg Vorbis music.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "tools/json_writer.h"
#include "tools/music_master.h"
#include "tools/music_synth.h"
#include "tools/tool_command.h"

namespace {

constexpr float DEFAULT_QUALITY = 0.4f;

int RunSynth(const std::vector<std::string>& rawArgs) {
  ToolArgs args;
  std::string error;
  if (!ParseToolArgs(rawArgs, {"--quality"}, {}, args, error)) return ToolUsageError("synth", error);
  if (args.positional.size() != 2) return ToolUsageError("synth", "needs SCORE and OUT.ogg");
  float quality = DEFAULT_QUALITY;
  if (args.options.count("--quality")) {
    char* end = nullptr;
    quality = std::strtof(args.Option("--quality").c_str(), &end);
    if (*end != '\0' || quality < -0.1f || quality > 1.0f) return ToolUsageError("synth", "--quality must be -0.1 to 1");
  }

  std::ifstream in(args.positional[0], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "torvane-tool synth: cannot read %s\n", args.positional[0].c_str());
    return 1;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Score score;
  if (!ParseScore(text, score, error)) {
    std::fprintf(stderr, "%s: %s\n", args.positional[0].c_str(), error.c_str());
    return 1;
  }
  std::vector<uint8_t> ogg;
  LoudnessFigures measured;
  if (!RenderScoreToOgg(score, quality, ogg, measured, error)) {
    std::fprintf(stderr, "torvane-tool synth: %s\n", error.c_str());
    return 1;
  }
  if (score.master.enabled) {
    JsonWriter json;
    json.BeginObject().Key("integratedLufs").Number(measured.integratedLufs);
    json.Key("truePeakDbtp").Number(measured.truePeakDbtp).EndObject();
    std::printf("%s\n", json.Text().c_str());
  }
  std::ofstream out(args.positional[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(ogg.data()), static_cast<std::streamsize>(ogg.size()));
  if (!out) {
    std::fprintf(stderr, "torvane-tool synth: cannot write %s\n", args.positional[1].c_str());
    return 1;
  }
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(synth, "synth", "render a music score to Ogg Vorbis",
                     "usage: torvane-tool synth SCORE OUT.ogg [--quality Q]\n\n"
                     "Renders the score (instruments, notes, effects and automation, see\n"
                     "tools/music_score.h) to 44.1 kHz stereo and encodes it as Ogg Vorbis with VBR\n"
                     "quality Q (-0.1 to 1, default 0.4). A score with a master line is brought to its\n"
                     "loudness under its true-peak ceiling, measured on the encoded file, and the\n"
                     "figures are printed as JSON. The same score always gives the same file.\n",
                     RunSynth);
