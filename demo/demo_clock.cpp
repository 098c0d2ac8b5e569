#include "demo/demo_clock.h"

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

uint32_t FrameTimeMs(uint64_t frame, uint32_t framesPerSecond) {
  if (framesPerSecond == 0) return 0;
  return static_cast<uint32_t>(frame * 1000u / framesPerSecond);
}

FixedStepDemoClock::FixedStepDemoClock(uint32_t framesPerSecond) : mFramesPerSecond(framesPerSecond) {}

void FixedStepDemoClock::Restart() { mReadings = 0; }

// From the count rather than summed, so that 1000/60 ms steps do not drift.
uint32_t FixedStepDemoClock::Read() { return FrameTimeMs(mReadings++, mFramesPerSecond); }
