// The whole showcase played by the player's own frame steps and state machine, without a window:
// the timer moves a fixed step per frame and the music is a model as long as the built music, so
// every section is composed in turn in seconds of work instead of the piece's two and a half
// minutes. The player's real-time ending against a sound card is the test production's test.
#include <cstdint>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "core/flag_manager.h"
#include "core/frame_step.h"
#include "core/profile_manager.h"
#include "demo/demo_manager.h"
#include "demo/headless_demo.h"
#include "render/renderer_manager.h"
#include "shell/system_manager.h"
#include "sound/ogg_vorbis_loader.h"
#include "tests/support/fake_music.h"
#include "tests/support/test_paths.h"

namespace {

// Ten frames a second: fewer than the player shows, but the test checks that no scene line is
// stepped over.
constexpr uint32_t FRAME_STEP_MS = 100;
// More frames than loading, the 1.8 s fade and the longest music could need.
constexpr uint64_t MOST_FRAMES = 10000;

uint32_t MusicLengthMs(const std::string& path) {
  OggVorbisLoader loader;
  WaveFormat format;
  PcmBlock block;
  if (loader.Open(path.c_str()) != SOUND_OK || loader.GetFormat(format) != SOUND_OK) return 0;
  if (loader.Read(block, 0, 0, false) != SOUND_OK || format.channels == 0 || format.samplesPerSecond == 0) return 0;
  uint64_t frames = block.Size() / (2u * format.channels);
  return static_cast<uint32_t>(frames * 1000 / format.samplesPerSecond);
}

TEST(ShowcasePlay, EveryFrameStepComposesUpToTheMusicsEndWhereTheDemoEnds) {
  FakeMusicState music;
  music.lengthMs = MusicLengthMs(BinaryPath("production/music.ogg"));
  ASSERT_GT(music.lengthMs, 120000u) << "no showcase music at build/production";

  HeadlessDemo demo;
  HeadlessOptions options;
  options.packPath = BinaryPath("production/torvane.pak");
  options.frame.width = 64;
  options.frame.height = 36;
  std::string error;
  ASSERT_TRUE(demo.Start(options, error)) << error;
  gSystemManager.ClearEscapePressed();
  gDemoManager.UseMusic(std::make_unique<FakeMusic>(music), [&music] { return music.now; });

  uint64_t steps = 0;
  bool running = true;
  while (running && steps < MOST_FRAMES) {
    running = RunFrame({&gProfileManager, &gFlagManager, &gSystemManager, &gRendererManager, &gDemoManager});
    music.now += FRAME_STEP_MS;
    ++steps;
  }
  EXPECT_FALSE(running) << "the demo did not end within " << MOST_FRAMES << " frames";
  EXPECT_EQ(music.plays, 1) << "the music starts once and is not looped";
  EXPECT_TRUE(music.volumes.empty()) << "no fade without Escape";
  // A frame at the music's start, one per step while it plays, and the one in which it ended: the
  // demo neither stopped early nor went on past its music.
  uint64_t playingFrames = (music.lengthMs + FRAME_STEP_MS - 1) / FRAME_STEP_MS + 1;
  EXPECT_EQ(gDemoManager.ComposedFrames(), playingFrames);
  ASSERT_FALSE(gDemoManager.SceneLines().empty());
  for (const SceneLineEntry& line : gDemoManager.SceneLines()) {
    if (line.startTime >= music.lengthMs) continue;
    uint32_t firstStep = (line.startTime + FRAME_STEP_MS - 1) / FRAME_STEP_MS * FRAME_STEP_MS;
    EXPECT_LT(firstStep, line.endTime) << line.tdfId << " on line " << line.line << " from " << line.startTime
                                       << " ms falls between two frames";
  }
  demo.Stop();
}

}  // namespace
