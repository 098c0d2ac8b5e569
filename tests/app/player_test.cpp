// The real player under the test display: the launcher is clicked through, frames run, and the
// keys end it with the statuses users see.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "core/critical.h"
#include "tests/support/test_paths.h"
#include "tests/support/x_driver.h"

namespace {

// Loading the production takes one long frame; on a busy machine it may take a while.
constexpr int START_TIMEOUT_MS = 60000;
constexpr int EXIT_TIMEOUT_MS = 60000;


class PlayerTest : public ::testing::Test {
 protected:
  // No sound card is needed: the music plays into the dummy output.
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }

  // The test production: its pack and music side by side, as a user runs the player.
  static std::string ProductionFolder() { return BinaryPath("test-production"); }

  // Starts the player, answers the launcher (windowed when asked) and returns the demo window.
  std::string StartPlayer(BackgroundProgram& player, bool windowed) {
    std::string launcher = WaitForWindow("^Torvane launcher$", START_TIMEOUT_MS);
    if (launcher.empty()) {
      ADD_FAILURE() << "no launcher; running " << player.IsRunning() << "; " << player.ErrorOutput();
      return "";
    }
    if (windowed) ClickLauncherControl(launcher, LAUNCHER_FULLSCREEN_BOX[0], LAUNCHER_FULLSCREEN_BOX[1]);
    ClickLauncherControl(launcher, LAUNCHER_RUN_BUTTON[0], LAUNCHER_RUN_BUTTON[1]);
    std::string window = WaitForProcessWindow(player.Pid(), START_TIMEOUT_MS);
    EXPECT_TRUE(player.IsRunning()) << player.ErrorOutput();
    return window;
  }

  // The loop runs free and presents every frame to the display, so once loading is over it
  // keeps waiting on the display server; a stalled loop would hardly switch at all.
  static void ExpectFramesRunning(BackgroundProgram& player) {
    bool turning = false;
    for (int waited = 0; waited < START_TIMEOUT_MS && !turning && player.IsRunning(); waited += 600) {
      long before = player.ContextSwitches();
      SleepMs(600);
      turning = player.ContextSwitches() - before > 100;
    }
    EXPECT_TRUE(turning) << "the frame loop is not turning; running " << player.IsRunning() << "; "
                         << player.ErrorOutput();
  }

  static void PointAtWindow(const std::string& window) {
    WindowGeometry g = GetWindowGeometry(window);
    MoveMouse(g.x + g.width / 2, g.y + g.height / 2);
  }

};


TEST_F(PlayerTest, TwoEscapesEndTheFullScreenDemoWithStatus27) {
  BackgroundProgram player(BinaryPath("app/torvane"), ProductionFolder());
  std::string window = StartPlayer(player, false);
  ASSERT_FALSE(window.empty()) << player.ErrorOutput();
  ExpectFramesRunning(player);
  PointAtWindow(window);
  PressKeys({"Escape"});
  SleepMs(300);
  EXPECT_TRUE(player.IsRunning()) << "the first Escape only starts the fade";
  PressKeys({"Escape"});
  EXPECT_EQ(player.WaitForExit(EXIT_TIMEOUT_MS), 27) << player.ErrorOutput();
}

TEST_F(PlayerTest, AltF4EndsAWindowedDemoWithStatus0AfterTheWindowWasDragged) {
  BackgroundProgram player(BinaryPath("app/torvane"), ProductionFolder());
  std::string window = StartPlayer(player, true);
  ASSERT_FALSE(window.empty()) << player.ErrorOutput();
  ExpectFramesRunning(player);
  WindowGeometry before = GetWindowGeometry(window);
  int grabX = before.x + 20;
  int grabY = before.y + 20;
  DragMouse(grabX, grabY, grabX + 60, grabY + 40);
  WindowGeometry after = GetWindowGeometry(window);
  EXPECT_EQ(after.x - before.x, 60);
  EXPECT_EQ(after.y - before.y, 40);
  PointAtWindow(window);
  PressKeys({"alt+F4"});
  EXPECT_EQ(player.WaitForExit(EXIT_TIMEOUT_MS), 0) << player.ErrorOutput();
}

TEST_F(PlayerTest, WithoutAPackTheStartEndsWithTheCriticalText) {
  char folder[] = "/tmp/torvane-no-pack-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  BackgroundProgram player(BinaryPath("app/torvane"), folder);
  std::string launcher = WaitForWindow("^Torvane launcher$", START_TIMEOUT_MS);
  ASSERT_FALSE(launcher.empty()) << "running " << player.IsRunning() << "; " << player.ErrorOutput();
  ClickLauncherControl(launcher, LAUNCHER_RUN_BUTTON[0], LAUNCHER_RUN_BUTTON[1]);
  // The critical box appears on a display; its text reaches stderr first.
  const std::string critical = CRITICAL_PACK_OPEN;
  for (int waited = 0; waited < START_TIMEOUT_MS && player.ErrorOutput().find(critical) == std::string::npos;
       waited += 100) {
    SleepMs(100);
  }
  EXPECT_TRUE(LastLineIs(player.ErrorOutput(), critical)) << player.ErrorOutput();
  EXPECT_TRUE(WaitForProcessWindow(player.Pid(), 500).empty()) << "no demo window without a pack";
  rmdir(folder);
}

}  // namespace
