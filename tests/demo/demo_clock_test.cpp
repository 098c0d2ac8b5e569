#include <gtest/gtest.h>

#include "demo/demo_clock.h"

namespace {

TEST(MusicDemoClock, RunsOnlyWhileTheMusicPlays) {
  uint32_t now = 100;
  bool playing = false;
  MusicDemoClock clock([&] { return playing; }, [&] { return now; });
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
  MusicDemoClock clock([] { return true; }, [&] { return now; });
  clock.Restart();
  now = 0x10;
  EXPECT_EQ(clock.Read(), 0x20u);
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
