// The music score reader of `torvane-tool synth`, and the synthesiser on what it accepts: any text
// either parses or is refused with a line number, and a score that parses (and is short enough to
// render quickly here) renders without reading or writing out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/synth/music_score.h"
#include "tools/synth/music_synth.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Score score;
  std::string error;
  if (!ParseScore(std::string(reinterpret_cast<const char*>(data), size), score, error)) return 0;
  std::string tooLong;
  if (!ScoreLengthAcceptable(score, tooLong) || ScoreSeconds(score) > 2.0 || score.notes.size() > 64) return 0;
  RenderScore(score);
  return 0;
}
