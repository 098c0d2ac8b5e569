#include "dev/transport.h"

#include <algorithm>
#include <utility>

#include "demo/music_transport.h"
#include "platform/audio_buffer.h"

Transport::Transport(MusicTransport* music, DemoTimer timer) : mMusic(music), mTimer(std::move(timer)) {}

void Transport::SetLength(uint32_t ms) {
  mLength = ms;
  if (mTime > mLength) Seek(mLength);
}

void Transport::StartFrom(uint32_t ms) {
  mTime = ms;
  mFollowingMusic = mMusic && mMusic->PlayFrom(ms);
  mTimerStart = mTimer();
  mTimeAtTimerStart = ms;
}

uint32_t Transport::Advance() {
  if (mFollowingMusic) {
    if (mMusic->IsPlaying()) return mMusic->PositionMs();
    // The music has ended: the timer goes on from where it was last heard.
    mFollowingMusic = false;
    mTimerStart = mTimer();
    mTimeAtTimerStart = mTime;
    return mTime;
  }
  double t = mTimeAtTimerStart + static_cast<double>(mTimer() - mTimerStart) * SpeedFactor();
  return t >= static_cast<double>(UINT32_MAX) ? UINT32_MAX : static_cast<uint32_t>(t);
}

uint32_t Transport::Update() {
  if (!mPlaying) return mTime;
  uint32_t previous = mTime;
  uint32_t t = Advance();
  if (mLoop.on && previous < LoopEnd() && t >= LoopEnd()) {
    StartFrom(LoopStart());
  } else if (t >= mLength) {
    if (mLoop.on) {
      StartFrom(LoopStart());
    } else {
      Pause();
      mTime = mLength;
    }
  } else {
    mTime = t;
  }
  return mTime;
}

void Transport::Play() {
  if (mPlaying) return;
  if (mTime >= mLength) mTime = mLoop.on ? LoopStart() : 0;
  mPlaying = true;
  StartFrom(mTime);
}

void Transport::Pause() {
  if (mPlaying) mTime = std::min(Advance(), mLength);
  mPlaying = false;
  mFollowingMusic = false;
  if (mMusic) mMusic->Stop();
}

void Transport::TogglePlay() {
  if (mPlaying) {
    Pause();
  } else {
    Play();
  }
}

void Transport::Seek(uint32_t ms) {
  ms = std::min(ms, mLength);
  if (mPlaying) {
    StartFrom(ms);
  } else {
    mTime = ms;
  }
}

void Transport::SeekBy(int64_t deltaMs) {
  int64_t target = std::clamp<int64_t>(static_cast<int64_t>(mTime) + deltaMs, 0, mLength);
  Seek(static_cast<uint32_t>(target));
}

uint32_t Transport::LoopStart() const { return mLoop.from; }

uint32_t Transport::LoopEnd() const { return mLoop.to > mLoop.from ? mLoop.to : mLength; }

void Transport::MarkLoopIn() {
  mLoop.from = mTime;
  if (mLoop.to <= mLoop.from) mLoop.to = 0;
  mLoop.on = true;
}

void Transport::MarkLoopOut() {
  mLoop.to = mTime;
  if (mLoop.from >= mLoop.to) mLoop.from = 0;
  mLoop.on = true;
}

void Transport::SetLoop(uint32_t from, uint32_t to) {
  if (from > to) std::swap(from, to);
  if (from == to) {
    LoopOff();
    return;
  }
  mLoop = {true, std::min(from, mLength), std::min(to, mLength)};
}

void Transport::ToggleLoop() { mLoop.on = !mLoop.on; }

void Transport::LoopOff() { mLoop.on = false; }

void Transport::SetSpeed(PlaybackSpeed speed) {
  if (mPlaying && !mFollowingMusic) {
    // Timer-driven play goes on from here at the new rate.
    mTimeAtTimerStart = Advance();
    mTimerStart = mTimer();
  }
  mSpeed = speed;
  if (mMusic) mMusic->SetSpeed(SpeedFactor());
}

void Transport::SetMuted(bool muted) {
  mMuted = muted;
  if (mMusic) mMusic->SetVolume(muted ? platform::AUDIO_VOLUME_SILENT : platform::AUDIO_VOLUME_FULL);
}
