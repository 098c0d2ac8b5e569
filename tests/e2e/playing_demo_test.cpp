// The real player on the test production, driven through its launcher: it plays to the last
// note, one Escape fades picture and music out over three seconds, two Escapes end it at once;
// the starter production of `torvane-tool new`, once built, plays to its end; and the showcase's
// first seconds play with their music.
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "app/entry.h"
#include "platform/launcher_dialog.h"
#include "tests/e2e/disk_audio.h"
#include "tests/e2e/window_picture.h"
#include "tests/support/run_command.h"
#include "tests/support/test_paths.h"
#include "tests/support/x_driver.h"

namespace {

constexpr int START_TIMEOUT_MS = 30000;
// Loading, the fade from the loading screen and the first notes, on a slow machine.
constexpr int MUSIC_START_TIMEOUT_MS = 60000;
constexpr int PLAY_TIMEOUT_MS = 40000;
constexpr int EXIT_TIMEOUT_MS = 15000;
constexpr double MUSIC_SECONDS = 8.0;
constexpr int SHOWCASE_PLAYED_MS = 3000;
// A sample this far from zero is music: the disk driver writes exact zeros for silence.
constexpr int AUDIBLE = 64;

constexpr int RUN_BUTTON[2] = {92, 178};
constexpr int FULLSCREEN_BOX[2] = {76, 122};

using Clock = std::chrono::steady_clock;

int MillisecondsSince(Clock::time_point start) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

class PlayingDemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/torvane-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    mFolder = folder;
    std::filesystem::copy(BinaryPath(mProduction), mFolder);
    mAudioPath = mFolder + "/played.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", mAudioPath.c_str(), 1);
    ASSERT_TRUE(WaitForDisplay()) << "the test display does not answer";
  }
  void TearDown() override { std::filesystem::remove_all(mFolder); }

  // The display server names its display before it takes connections: a player started in
  // between could not open it.
  static bool WaitForDisplay() {
    for (int waited = 0; waited < START_TIMEOUT_MS; waited += 100) {
      if (Xdotool({"getdisplaygeometry"}).status == 0) return true;
      SleepMs(100);
    }
    return false;
  }

  static void ClickLauncher(const std::string& launcher, const int (&units)[2]) {
    WindowGeometry dialog = GetWindowGeometry(launcher);
    int x = 0;
    int y = 0;
    platform::LauncherDialogUnitsToPixels(units[0], units[1], &x, &y);
    Click(dialog.x + x, dialog.y + y);
  }

  // Runs the launcher's defaults in a window and returns the demo window, with the pointer
  // over it so that keys reach it.
  std::string StartPlayer(BackgroundProgram& player) {
    std::string launcher = WaitForWindow("^Torvane launcher$", START_TIMEOUT_MS);
    if (launcher.empty()) return "";
    ClickLauncher(launcher, FULLSCREEN_BOX);
    ClickLauncher(launcher, RUN_BUTTON);
    std::string window = WaitForProcessWindow(player.Pid(), START_TIMEOUT_MS);
    if (window.empty()) return "";
    WindowGeometry g = GetWindowGeometry(window);
    MoveMouse(g.x + g.width / 2, g.y + g.height / 2);
    return window;
  }

  // Polls the disk driver's output until the music is heard; the recording's frame count then,
  // or 0 if it never was.
  size_t WaitForMusic(BackgroundProgram& player) {
    for (int waited = 0; waited < MUSIC_START_TIMEOUT_MS && player.IsRunning(); waited += 100) {
      DiskAudio heard = ReadDiskAudio(mAudioPath);
      if (heard.EndOfAudibleFrames(AUDIBLE) > 0) return heard.FrameCount();
      SleepMs(100);
    }
    return 0;
  }

  size_t RecordedFrames() const {
    struct stat info {};
    return stat(mAudioPath.c_str(), &info) == 0 ? DiskAudioFrames(static_cast<size_t>(info.st_size)) : 0;
  }

  std::string mProduction = "test-production";
  std::string mFolder;
  std::string mAudioPath;
};

class PlayingShowcaseTest : public PlayingDemoTest {
 protected:
  PlayingShowcaseTest() { mProduction = "production"; }
};

// A key pressed on the way (Space, code 32) does not change how the demo ends.
TEST_F(PlayingDemoTest, PlaysTheProductionToTheLastNoteAndExits0) {
  BackgroundProgram player(BinaryPath("app/torvane"), mFolder);
  ASSERT_FALSE(StartPlayer(player).empty()) << player.ErrorOutput();
  ASSERT_GT(WaitForMusic(player), 0u) << player.ErrorOutput();
  PressKeys({"space"});
  ASSERT_EQ(player.WaitForExit(PLAY_TIMEOUT_MS), PLAYER_EXIT_OVER) << player.ErrorOutput();

  DiskAudio played = ReadDiskAudio(mAudioPath);
  size_t first = played.FirstAudibleFrame(AUDIBLE);
  size_t end = played.EndOfAudibleFrames(AUDIBLE);
  double heardSeconds = static_cast<double>(end - first) / SecondsToFrames(1.0);
  EXPECT_GE(played.Seconds(), MUSIC_SECONDS);
  EXPECT_GT(heardSeconds, MUSIC_SECONDS - 0.5) << "the music was cut short";
  EXPECT_LT(heardSeconds, MUSIC_SECONDS + 2.0) << "the music played on past its end";
  // Every second of the music carries its chords: none of them fell silent.
  for (size_t second = first; second + SecondsToFrames(1.0) <= end; second += SecondsToFrames(1.0)) {
    EXPECT_GT(played.Loudness(second, SecondsToFrames(1.0)), 300.0)
        << "second " << (second - first) / SecondsToFrames(1.0) << " of the music is nearly silent";
  }
}

TEST_F(PlayingDemoTest, TheStarterProductionPlaysToItsEndAndExits0) {
  const std::string starter = mFolder + "/starter";
  const std::string out = mFolder + "/starter-out";
  ASSERT_EQ(RunTool({"new", starter}).status, 0);
  CommandResult build = RunTool({"build", starter, "--out", out});
  ASSERT_EQ(build.status, 0) << build.out << build.err;

  BackgroundProgram player(BinaryPath("app/torvane"), out);
  ASSERT_FALSE(StartPlayer(player).empty()) << player.ErrorOutput();
  ASSERT_GT(WaitForMusic(player), 0u) << player.ErrorOutput();
  ASSERT_EQ(player.WaitForExit(PLAY_TIMEOUT_MS), 0) << player.ErrorOutput();
  DiskAudio played = ReadDiskAudio(mAudioPath);
  double heardSeconds = static_cast<double>(played.EndOfAudibleFrames(AUDIBLE) - played.FirstAudibleFrame(AUDIBLE)) /
                        SecondsToFrames(1.0);
  EXPECT_GT(heardSeconds, MUSIC_SECONDS - 0.5) << "the starter's eight seconds were cut short";
  EXPECT_EQ(player.ErrorOutput().find("[production]"), std::string::npos) << player.ErrorOutput();
}

TEST_F(PlayingDemoTest, OneEscapeFadesMusicOutAndEndsAboutThreeSecondsLater) {
  BackgroundProgram player(BinaryPath("app/torvane"), mFolder);
  std::string window = StartPlayer(player);
  ASSERT_FALSE(window.empty()) << player.ErrorOutput();
  ASSERT_GT(WaitForMusic(player), 0u) << player.ErrorOutput();
  SleepMs(1200);
  double playingBrightness = WindowBrightness(window);
  size_t escapeFrame = RecordedFrames();
  Clock::time_point escaped = Clock::now();
  PressKeys({"Escape"});
  // Events after the Escape do not change how the demo ends.
  WindowGeometry g = GetWindowGeometry(window);
  MoveMouse(g.x + g.width / 3, g.y + g.height / 3);
  // The darkest picture the window shows while the fade runs; polled rather than taken at a fixed
  // moment, since a software renderer may present only a few frames a second. Two thirds into the
  // fade the black quad is 89% opaque, at its end all but opaque.
  double fadedBrightness = playingBrightness;
  // On a loaded machine frames come seldom, so the whole fade is watched, up to the player's end.
  while (player.IsRunning() && MillisecondsSince(escaped) < EXIT_TIMEOUT_MS && fadedBrightness >= playingBrightness * 0.35) {
    double now = WindowBrightness(window);
    if (now >= 0.0) fadedBrightness = std::min(fadedBrightness, now);
    SleepMs(100);
  }
  ASSERT_EQ(player.WaitForExit(EXIT_TIMEOUT_MS), PLAYER_EXIT_ESCAPE) << player.ErrorOutput();
  int endedAfterMs = MillisecondsSince(escaped);
  // Well before the music's own end, about 6.8 s after the Escape.
  EXPECT_GT(endedAfterMs, 2500);
  EXPECT_LT(endedAfterMs, 6000);

  DiskAudio played = ReadDiskAudio(mAudioPath);
  ASSERT_GT(escapeFrame, SecondsToFrames(1.0));
  ASSERT_GT(played.FrameCount(), escapeFrame + SecondsToFrames(2.0));
  double beforeEscape = played.Loudness(escapeFrame - SecondsToFrames(1.0), SecondsToFrames(1.0));
  double lastSecond = played.Loudness(played.FrameCount() - SecondsToFrames(1.0), SecondsToFrames(1.0));
  EXPECT_GT(beforeEscape, 300.0);
  EXPECT_GT(playingBrightness, 0.05) << "the playing demo shows nothing to fade";
  EXPECT_LT(fadedBrightness, playingBrightness * 0.35) << "the picture did not fade: " << playingBrightness << " then "
                                                        << fadedBrightness;
  EXPECT_LT(lastSecond, beforeEscape * 0.25) << "the music did not fade: " << beforeEscape << " then " << lastSecond;
}

TEST_F(PlayingDemoTest, TwoEscapesEndThePlayingDemoAtOnceWithStatus27) {
  BackgroundProgram player(BinaryPath("app/torvane"), mFolder);
  ASSERT_FALSE(StartPlayer(player).empty()) << player.ErrorOutput();
  ASSERT_GT(WaitForMusic(player), 0u) << player.ErrorOutput();
  Clock::time_point escaped = Clock::now();
  PressKeys({"Escape", "Escape"});
  EXPECT_EQ(player.WaitForExit(EXIT_TIMEOUT_MS), 27) << player.ErrorOutput();
  EXPECT_LT(MillisecondsSince(escaped), 2500) << "the second Escape waited for the fade";
}

// The showcase's first seconds in the real player, against the sound card's clock; its whole
// piece is played at a fixed step by the showcase's own tests, and the ending in real time is the
// test production's.
TEST_F(PlayingShowcaseTest, PlaysTheShowcasesFirstSecondsWithItsMusic) {
  BackgroundProgram player(BinaryPath("app/torvane"), mFolder);
  ASSERT_FALSE(StartPlayer(player).empty()) << player.ErrorOutput();
  ASSERT_GT(WaitForMusic(player), 0u) << player.ErrorOutput();
  SleepMs(SHOWCASE_PLAYED_MS);
  ASSERT_TRUE(player.IsRunning()) << player.ErrorOutput();
  PressKeys({"Escape", "Escape"});
  ASSERT_EQ(player.WaitForExit(EXIT_TIMEOUT_MS), 27) << player.ErrorOutput();

  DiskAudio played = ReadDiskAudio(mAudioPath);
  size_t first = played.FirstAudibleFrame(AUDIBLE);
  EXPECT_GT(played.EndOfAudibleFrames(AUDIBLE), first + SecondsToFrames(2.0)) << "the music fell silent within its first seconds";
}

}  // namespace
