#pragma once
// Which cut of a demo scene a scene line's phase shows, and where in that cut.

#include <cstdint>
#include <vector>

#include "scene/cut_timeline.h"

struct CutChoice {
  int index = -1;      // the first cut holding the position, -1 for none
  float phase = 0.0f;  // 0 at the cut's start, 1 at its end
};

// The position phase · rangeLength (milliseconds, truncated toward zero) on the cut timeline and
// the first cut that holds it. A phase that gives no number or a position beyond 32 bits is in no
// cut.
CutChoice ChooseCut(const std::vector<CutSpan>& cuts, float phase, int64_t rangeLength);
