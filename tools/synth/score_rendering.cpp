#include "tools/synth/score_rendering.h"

#include <fstream>
#include <iterator>

#include "files/output_file.h"
#include "production/production_finding.h"
#include "tools/synth/music_score.h"

namespace {

// The parser's message without its "line N: ", which the finding's form carries.
std::string WithoutLinePrefix(const std::string& error) {
  const size_t colon = error.find(": ");
  return error.rfind("line ", 0) == 0 && colon != std::string::npos ? error.substr(colon + 2) : error;
}

}  // namespace

bool RenderScoreFile(const std::filesystem::path& score, const std::filesystem::path& out, float quality, std::string& error,
                     ScoreLoudness* loudness) {
  std::ifstream in(score, std::ios::binary);
  if (!in) {
    error = "cannot read " + score.string();
    return false;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Score parsed;
  int line = 0;
  if (!ParseScore(text, parsed, error, &line)) {
    error = FormatFinding({FindingSeverity::Error, score.string(), line, 0, WithoutLinePrefix(error)});
    return false;
  }
  std::vector<uint8_t> ogg;
  LoudnessFigures measured;
  if (!RenderScoreToOgg(parsed, quality, ogg, measured, error)) return false;
  if (loudness) *loudness = {parsed.master.enabled, measured};
  return ReplaceOutputFile(out.string(), ogg, error);
}
