#include "scene/cut_timeline.h"

#include <cstddef>

std::vector<CutSpan> BuildCutSpans(const std::vector<float>& sceneLengthsSeconds) {
  std::vector<CutSpan> cuts;
  cuts.reserve(sceneLengthsSeconds.size());
  float start = 0.0f;
  for (float length : sceneLengthsSeconds) {
    float end = start + length;
    cuts.push_back({static_cast<int32_t>(start * 1000.0f), static_cast<int32_t>(end * 1000.0f)});
    start = end;
  }
  return cuts;
}

int FindCut(const std::vector<CutSpan>& cuts, int32_t p) {
  for (std::size_t i = 0; i < cuts.size(); ++i) {
    if (cuts[i].start <= p && p <= cuts[i].end) return static_cast<int>(i);
  }
  return -1;
}

float CutPhase(const CutSpan& cut, int32_t p) {
  if (cut.end == cut.start) return 0.0f;
  return static_cast<float>(p - cut.start) / static_cast<float>(cut.end - cut.start);
}
