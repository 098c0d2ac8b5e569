#include "demo/fixed_step_demo_clock.h"

uint32_t FrameTimeMs(uint64_t frame, uint32_t framesPerSecond) {
  if (framesPerSecond == 0) return 0;
  return static_cast<uint32_t>(frame * 1000u / framesPerSecond);
}

FixedStepDemoClock::FixedStepDemoClock(uint32_t framesPerSecond) : mFramesPerSecond(framesPerSecond) {}

void FixedStepDemoClock::Restart() { mReadings = 0; }

// From the count rather than summed, so that 1000/60 ms steps do not drift.
uint32_t FixedStepDemoClock::Read() { return FrameTimeMs(mReadings++, mFramesPerSecond); }
