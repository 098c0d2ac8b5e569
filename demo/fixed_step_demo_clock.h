#pragma once
// The clock of headless rendering and frame-exact capture. Contract: the n-th reading after a
// restart is FrameTimeMs(n) at the chosen frame rate (the first is 0); it reads neither the music
// nor a timer, so the same frames come out however long each takes. A rate of 0 stays at 0.

#include <cstdint>

#include "demo/demo_clock.h"

// The demo time of frame n at framesPerSecond: n × 1000 / framesPerSecond milliseconds, rounded
// down, computed in integers so that no frame lands a millisecond early (0 when the rate is 0).
uint32_t FrameTimeMs(uint64_t frame, uint32_t framesPerSecond);

class FixedStepDemoClock : public DemoClock {
 public:
  explicit FixedStepDemoClock(uint32_t framesPerSecond);
  void Restart() override;
  uint32_t Read() override;

 private:
  uint32_t mFramesPerSecond;
  uint64_t mReadings = 0;
};
