#include "tools/synth/score_rendering.h"

#include <fstream>
#include <iterator>

#include "tools/synth/music_score.h"

bool RenderScoreFile(const std::filesystem::path& score, const std::filesystem::path& out, float quality, std::string& error,
                     ScoreLoudness* loudness) {
  std::ifstream in(score, std::ios::binary);
  if (!in) {
    error = "cannot read " + score.string();
    return false;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Score parsed;
  if (!ParseScore(text, parsed, error)) {
    error = score.string() + ": " + error;
    return false;
  }
  std::vector<uint8_t> ogg;
  LoudnessFigures measured;
  if (!RenderScoreToOgg(parsed, quality, ogg, measured, error)) return false;
  if (loudness) *loudness = {parsed.master.enabled, measured};
  const std::filesystem::path partial = out.string() + ".partial";
  {
    std::ofstream file(partial, std::ios::binary);
    file.write(reinterpret_cast<const char*>(ogg.data()), static_cast<std::streamsize>(ogg.size()));
    if (!file.flush()) {
      error = "cannot write " + out.string();
      std::filesystem::remove(partial);
      return false;
    }
  }
  std::error_code code;
  std::filesystem::rename(partial, out, code);
  if (code) error = "cannot write " + out.string() + ": " + code.message();
  return !code;
}
