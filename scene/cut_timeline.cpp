#include "scene/cut_timeline.h"

#include <cstddef>

int32_t SaturatedMilliseconds(float seconds) {
  float milliseconds = seconds * 1000.0f;
  if (!(milliseconds > -2147483648.0f)) return INT32_MIN;
  if (milliseconds >= 2147483648.0f) return INT32_MAX;
  return static_cast<int32_t>(milliseconds);
}

std::vector<CutSpan> BuildCutSpans(const std::vector<float>& sceneLengthsSeconds) {
  std::vector<CutSpan> cuts;
  cuts.reserve(sceneLengthsSeconds.size());
  float start = 0.0f;
  for (float length : sceneLengthsSeconds) {
    float end = start + length;
    cuts.push_back({SaturatedMilliseconds(start), SaturatedMilliseconds(end)});
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

bool CutsCover(const std::vector<CutSpan>& cuts, int32_t first, int32_t last) {
  // Extend the covered stretch from first while some cut starts inside it or right after it.
  int64_t covered = int64_t{first} - 1;
  for (bool grew = true; grew && covered < last;) {
    grew = false;
    for (const CutSpan& cut : cuts) {
      if (cut.start <= covered + 1 && cut.end > covered) {
        covered = cut.end;
        grew = true;
      }
    }
  }
  return covered >= last;
}

float CutPhase(const CutSpan& cut, int32_t p) {
  if (cut.end == cut.start) return 0.0f;
  return static_cast<float>(p - cut.start) / static_cast<float>(cut.end - cut.start);
}
