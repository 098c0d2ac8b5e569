#pragma once
// Music of a fixed length that plays from the moment Play is called, on a timer the test moves:
// the player's timeline driven frame by frame without a sound card. The player only starts the
// music from its beginning and fades it; anything else fails the test.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "demo/music_transport.h"

struct FakeMusicState {
  uint32_t now = 100000;
  uint32_t lengthMs = 5000;
  bool started = false;
  uint32_t startedAt = 0;
  int plays = 0;
  std::vector<int32_t> volumes;
};

class FakeMusic : public MusicTransport {
 public:
  explicit FakeMusic(FakeMusicState& state) : mState(state) {}
  void Play() override {
    mState.started = true;
    mState.startedAt = mState.now;
    ++mState.plays;
  }
  bool IsPlaying() const override { return mState.started && mState.now - mState.startedAt < mState.lengthMs; }
  void SetVolume(int32_t hundredthsOfDecibel) override { mState.volumes.push_back(hundredthsOfDecibel); }
  bool PlayFrom(uint32_t ms) override {
    ADD_FAILURE() << "the player started the music at " << ms << " ms";
    return false;
  }
  void Stop() override { ADD_FAILURE() << "the player stopped the music"; }
  uint32_t PositionMs() const override {
    ADD_FAILURE() << "the player read the music's position";
    return 0;
  }
  uint32_t LengthMs() const override { return mState.lengthMs; }
  void SetSpeed(double speed) override { ADD_FAILURE() << "the player set the music's speed to " << speed; }

 private:
  FakeMusicState& mState;
};
