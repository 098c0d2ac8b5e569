#include "tools/capture/warm_up_plan.h"

#include <algorithm>

namespace {

struct FrameUse {
  BufferMask readsBeforeWriting = 0;  // what the frame takes over from earlier frames
  BufferMask writes = 0;
};

FrameUse UseOf(const std::vector<CompositionStep>& steps) {
  FrameUse use;
  for (const CompositionStep& step : steps) {
    use.readsBeforeWriting |= step.reads & ~use.writes;
    use.writes |= BufferBit(step.write);
  }
  return use;
}

}  // namespace

// Walks back from first: a frame is needed when it is the last writer of a buffer that a needed
// frame (or first) takes over; once it is in, what it takes over is wanted in turn.
std::vector<int64_t> PlanWarmUp(int64_t first, const FrameStepsFunction& stepsOf) {
  std::vector<int64_t> plan;
  BufferMask wanted = first >= 0 ? UseOf(stepsOf(first)).readsBeforeWriting : 0;
  for (int64_t frame = first - 1; frame >= 0 && wanted != 0; --frame) {
    FrameUse use = UseOf(stepsOf(frame));
    if ((use.writes & wanted) == 0) continue;
    plan.push_back(frame);
    wanted = (wanted & ~use.writes) | use.readsBeforeWriting;
  }
  std::reverse(plan.begin(), plan.end());
  return plan;
}
