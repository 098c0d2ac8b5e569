#include "scene/depth_nesting.h"

#include <algorithm>

NestingStep DepthNesting::Enter(uint32_t depth) {
  NestingStep step;
  const int64_t d = depth;
  step.pushes = 1;
  if (mPreviousDepth == d) {
    step.pops = std::min<int64_t>(1, mPushed);
  } else if (mPreviousDepth > d) {
    step.pops = std::min(mPreviousDepth - d, mPushed);
  }
  if (mPushed - step.pops + step.pushes > mMaxHeld) ++step.pops;
  mPushed += step.pushes - step.pops;
  mPreviousDepth = d;
  return step;
}

int64_t DepthNesting::Finish() {
  int64_t pops = mPushed;
  mPushed = 0;
  mPreviousDepth = -1;
  return pops;
}
