#pragma once
// The player's clock. Contract: demo time is the millisecond timer's time counted only while the
// music transport says the music plays; paused or ended music holds it. Restart goes back to 0
// and counts from the timer's time of the restart. A timer wrapping at 2^32 is counted through.

#include "demo/demo_clock.h"

class MusicTransport;

class MusicDemoClock : public DemoClock {
 public:
  // music may be null: then the clock never runs. Both stay the caller's.
  MusicDemoClock(const MusicTransport* music, DemoTimer timer);
  void Restart() override;
  uint32_t Read() override;

 private:
  const MusicTransport* mMusic;
  DemoTimer mTimer;
  uint32_t mElapsed = 0;
  uint32_t mLastTick = 0;
};
