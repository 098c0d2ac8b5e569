#include <gtest/gtest.h>

#include "demo/fixed_step_demo_clock.h"
#include "demo/music_demo_clock.h"
#include "demo/music_transport.h"

namespace {

// Music that only says whether it plays: the player's clock must ask it nothing else.
class SwitchedMusic : public MusicTransport {
 public:
  explicit SwitchedMusic(const bool& playing) : mPlaying(playing) {}
  bool IsPlaying() const override { return mPlaying; }
  void Play() override { ADD_FAILURE() << "the clock started the music"; }
  bool PlayFrom(uint32_t) override {
    ADD_FAILURE() << "the clock moved the music";
    return false;
  }
  void Stop() override { ADD_FAILURE() << "the clock stopped the music"; }
  uint32_t PositionMs() const override {
    ADD_FAILURE() << "the player's clock reads the timer, not the music's position";
    return 0;
  }
  uint32_t LengthMs() const override { return 0; }
  void SetSpeed(double) override { ADD_FAILURE() << "the clock changed the music's speed"; }
  void SetVolume(int32_t) override { ADD_FAILURE() << "the clock changed the music's volume"; }

 private:
  const bool& mPlaying;
};

TEST(MusicDemoClock, RunsOnlyWhileTheMusicPlays) {
  uint32_t now = 100;
  bool playing = false;
  SwitchedMusic music(playing);
  MusicDemoClock clock(&music, [&] { return now; });
  clock.Restart();
  now = 150;
  EXPECT_EQ(clock.Read(), 0u) << "paused music does not advance the clock";
  playing = true;
  now = 190;
  EXPECT_EQ(clock.Read(), 40u);
  now = 200;
  EXPECT_EQ(clock.Read(), 50u);
  playing = false;
  now = 900;
  EXPECT_EQ(clock.Read(), 50u);
  clock.Restart();
  playing = true;
  now = 905;
  EXPECT_EQ(clock.Read(), 5u);
}

TEST(MusicDemoClock, SurvivesTheTimerWrappingAround) {
  uint32_t now = 0xFFFFFFF0u;
  const bool playing = true;
  SwitchedMusic music(playing);
  MusicDemoClock clock(&music, [&] { return now; });
  clock.Restart();
  now = 0x10;
  EXPECT_EQ(clock.Read(), 0x20u);
}

TEST(MusicDemoClock, WithoutMusicNeverRuns) {
  uint32_t now = 100;
  MusicDemoClock clock(nullptr, [&] { return now; });
  now = 5000;
  EXPECT_EQ(clock.Read(), 0u);
}

TEST(FixedStepDemoClock, GivesExactFrameTimesWithoutDrift) {
  FixedStepDemoClock clock(60);
  EXPECT_EQ(clock.Read(), 0u);
  EXPECT_EQ(clock.Read(), 16u);
  EXPECT_EQ(clock.Read(), 33u);
  for (int i = 3; i < 60; ++i) clock.Read();
  EXPECT_EQ(clock.Read(), 1000u);
  clock.Restart();
  EXPECT_EQ(clock.Read(), 0u);
}

// A step of 1000/24 ms is 41.666… and rounds down in binary: frame 195 must still land on
// 8125 ms, not 8124, or the picture runs a millisecond ahead of the music.
TEST(FrameTimeMs, IsExactWhereFloatingPointStepsFallShort) {
  EXPECT_EQ(FrameTimeMs(195, 24), 8125u);
  EXPECT_EQ(FrameTimeMs(390, 48), 8125u);
  EXPECT_EQ(FrameTimeMs(24 * 3600, 24), 3600000u);
  EXPECT_EQ(FrameTimeMs(1001, 30), 33366u);
  EXPECT_EQ(FrameTimeMs(7, 0), 0u);
  FixedStepDemoClock clock(24);
  for (int i = 0; i < 195; ++i) clock.Read();
  EXPECT_EQ(clock.Read(), 8125u);
}

}  // namespace
