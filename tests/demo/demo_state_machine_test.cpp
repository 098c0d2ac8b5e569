// demoManager's state machine frame by frame, on the test production, against a timer and music
// the test moves by hand: the order of the states, the exact ends of the fades, the frame in which
// the music stops, the loop, and Escape during the loading fade.
#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "core/flag_manager.h"
#include "core/frame_step.h"
#include "core/profile_manager.h"
#include "demo/demo_manager.h"
#include "demo/headless_demo.h"
#include "render/renderer_manager.h"
#include "shell/settings_manager.h"
#include "shell/system_manager.h"
#include "tests/support/fake_music.h"
#include "tests/support/test_paths.h"

namespace {

int gPresented = 0;
void CountPresent() { ++gPresented; }

class DemoStateMachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HeadlessOptions options;
    options.packPath = BinaryPath("test-production/torvane.pak");
    options.frame.width = 64;
    options.frame.height = 36;
    std::string error;
    ASSERT_TRUE(mDemo.Start(options, error)) << error;
    gSystemManager.ClearEscapePressed();
    gRendererManager.SetPresenter(CountPresent);
    gPresented = 0;
    gDemoManager.UseMusic(std::make_unique<FakeMusic>(mMusic), [this] { return mMusic.now; });
  }
  void TearDown() override {
    gSystemManager.ClearEscapePressed();
    gSettingsManager.SetLoop(false);
    mDemo.Stop();
  }

  // One frame step of the player's loop, the timer standing at now.
  bool FrameAt(uint32_t now) {
    mMusic.now = now;
    return RunFrame({&gProfileManager, &gFlagManager, &gSystemManager, &gRendererManager, &gDemoManager});
  }

  // Runs the clear, load and first fade frames; returns the timer value at which the fade began.
  uint32_t RunUpToTheFade() {
    uint32_t start = mMusic.now;
    EXPECT_EQ(gDemoManager.State(), DEMO_STATE_CLEAR);
    EXPECT_TRUE(FrameAt(start));
    EXPECT_EQ(gDemoManager.State(), DEMO_STATE_LOAD);
    EXPECT_TRUE(FrameAt(start));
    EXPECT_EQ(gDemoManager.State(), DEMO_STATE_FADE_IN);
    EXPECT_GT(gDemoManager.LineTable().SlotCount(0), 0) << "the production's scenes are loaded";
    EXPECT_TRUE(FrameAt(start + 10));
    EXPECT_EQ(gDemoManager.State(), DEMO_STATE_FADE_IN);
    return start + 10;
  }

  HeadlessDemo mDemo;
  FakeMusicState mMusic;
};

TEST_F(DemoStateMachineTest, StatesRunInOrderAndTheMusicsLastFrameIsStillComposedAndPresented) {
  uint32_t fadeStart = RunUpToTheFade();
  EXPECT_TRUE(FrameAt(fadeStart + 1799));
  EXPECT_TRUE(FrameAt(fadeStart + 1800));
  EXPECT_EQ(gDemoManager.State(), DEMO_STATE_FADE_IN) << "the fade draws up to 1.8 s inclusive";
  EXPECT_EQ(mMusic.plays, 0);
  EXPECT_TRUE(FrameAt(fadeStart + 1801));
  EXPECT_EQ(gDemoManager.State(), DEMO_STATE_START) << "the fade is over after 1.8 s";
  EXPECT_EQ(mMusic.plays, 0);
  EXPECT_EQ(gDemoManager.ComposedFrames(), 0u);

  uint32_t musicStart = fadeStart + 1816;
  EXPECT_TRUE(FrameAt(musicStart));
  EXPECT_EQ(gDemoManager.State(), DEMO_STATE_PLAY) << "state 3 enters 4 in the same frame";
  EXPECT_EQ(mMusic.plays, 1);
  EXPECT_EQ(gDemoManager.ComposedFrames(), 1u) << "and that frame is composed";

  for (uint32_t t = 16; t < mMusic.lengthMs; t += 16) {
    ASSERT_TRUE(FrameAt(musicStart + t)) << t;
    ASSERT_EQ(gDemoManager.State(), DEMO_STATE_PLAY);
  }
  uint64_t composed = gDemoManager.ComposedFrames();
  int presented = gPresented;
  EXPECT_FALSE(FrameAt(musicStart + mMusic.lengthMs)) << "the demo ends when the music has stopped";
  EXPECT_EQ(gDemoManager.ComposedFrames(), composed + 1) << "the last frame is still composed";
  EXPECT_EQ(gPresented, presented + 1) << "and presented";
  EXPECT_EQ(mMusic.plays, 1);
  EXPECT_TRUE(mMusic.volumes.empty()) << "no fade without Escape";
}

TEST_F(DemoStateMachineTest, TheDemoClockRunsOnlyWhileTheMusicPlaysAndLoopModeRestartsBoth) {
  gSettingsManager.SetLoop(true);
  uint32_t fadeStart = RunUpToTheFade();
  EXPECT_TRUE(FrameAt(fadeStart + 1801));
  uint32_t musicStart = fadeStart + 1900;
  EXPECT_TRUE(FrameAt(musicStart));
  EXPECT_EQ(gDemoManager.GetDemoTime(), 0u) << "demo time starts with the music";
  EXPECT_TRUE(FrameAt(musicStart + 1234));
  EXPECT_EQ(gDemoManager.GetDemoTime(), 1234u);

  EXPECT_TRUE(FrameAt(musicStart + mMusic.lengthMs)) << "with loop on the demo goes on";
  EXPECT_EQ(gDemoManager.State(), DEMO_STATE_START);
  uint32_t restart = musicStart + mMusic.lengthMs + 20;
  EXPECT_TRUE(FrameAt(restart));
  EXPECT_EQ(mMusic.plays, 2) << "the music starts again";
  EXPECT_EQ(gDemoManager.State(), DEMO_STATE_PLAY);
  EXPECT_TRUE(FrameAt(restart + 300));
  EXPECT_EQ(gDemoManager.GetDemoTime(), 300u) << "and the clock from 0";
}

TEST_F(DemoStateMachineTest, EscapeDuringTheLoadingFadeStillFadesAndEndsAfterThreeSeconds) {
  uint32_t fadeStart = RunUpToTheFade();
  gSystemManager.SetEscapePressed();
  uint32_t escape = fadeStart + 100;
  EXPECT_TRUE(FrameAt(escape));
  ASSERT_FALSE(mMusic.volumes.empty());
  EXPECT_EQ(mMusic.volumes.back(), 0) << "the fade starts at full volume";
  EXPECT_TRUE(FrameAt(escape + 1500));
  EXPECT_EQ(mMusic.volumes.back(), -2928) << "(sqrt(0.5) - 1) x 10000, truncated";
  // The loading fade runs on underneath and the music starts; the Escape fade still ends it.
  EXPECT_TRUE(FrameAt(escape + 1801));
  EXPECT_TRUE(FrameAt(escape + 1850));
  EXPECT_EQ(mMusic.plays, 1);
  EXPECT_TRUE(FrameAt(escape + 3000)) << "the fade's last frame is at 3 s";
  EXPECT_EQ(mMusic.volumes.back(), -10000);
  EXPECT_FALSE(FrameAt(escape + 3001)) << "and the demo ends just after";
}

}  // namespace
