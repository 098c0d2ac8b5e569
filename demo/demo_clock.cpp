#include "demo/demo_clock.h"

#include <cmath>

MusicDemoClock::MusicDemoClock(std::function<bool()> musicIsPlaying, std::function<uint32_t()> timer)
    : mMusicIsPlaying(std::move(musicIsPlaying)), mTimer(std::move(timer)), mLastTick(mTimer()) {}

void MusicDemoClock::Restart() {
  mElapsed = 0;
  mLastTick = mTimer();
}

uint32_t MusicDemoClock::Read() {
  uint32_t now = mTimer();
  if (mMusicIsPlaying()) mElapsed += now - mLastTick;
  mLastTick = now;
  return mElapsed;
}

FixedStepDemoClock::FixedStepDemoClock(double stepMs) : mStepMs(stepMs) {}

void FixedStepDemoClock::Restart() { mReadings = 0; }

uint32_t FixedStepDemoClock::Read() {
  // Computed from the count rather than summed, so that 1000/60 ms steps do not drift.
  return static_cast<uint32_t>(std::floor(static_cast<double>(mReadings++) * mStepMs));
}
