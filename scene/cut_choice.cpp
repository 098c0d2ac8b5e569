#include "scene/cut_choice.h"

#include <cmath>

CutChoice ChooseCut(const std::vector<CutSpan>& cuts, float phase, int64_t rangeLength) {
  CutChoice choice;
  float position = phase * static_cast<float>(rangeLength);
  if (!std::isfinite(position) || position <= -2147483648.0f || position >= 2147483648.0f) return choice;
  int32_t p = static_cast<int32_t>(position);
  choice.index = FindCut(cuts, p);
  if (choice.index >= 0) choice.phase = CutPhase(cuts[static_cast<size_t>(choice.index)], p);
  return choice;
}
