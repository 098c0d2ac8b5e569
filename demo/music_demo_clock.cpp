#include "demo/music_demo_clock.h"

#include "demo/music_transport.h"

MusicDemoClock::MusicDemoClock(const MusicTransport* music, DemoTimer timer)
    : mMusic(music), mTimer(std::move(timer)), mLastTick(mTimer()) {}

void MusicDemoClock::Restart() {
  mElapsed = 0;
  mLastTick = mTimer();
}

uint32_t MusicDemoClock::Read() {
  uint32_t now = mTimer();
  if (mMusic && mMusic->IsPlaying()) mElapsed += now - mLastTick;
  mLastTick = now;
  return mElapsed;
}
