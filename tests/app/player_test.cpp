// The real player under the test display: the launcher is clicked through, frames run, and the
// keys end it with the statuses users see.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "app/entry.h"
#include "app/installed_showcase.h"
#include "app/player_arguments.h"
#include "core/critical.h"
#include "platform/fatal.h"
#include "tests/support/temporary_folder.h"
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
  // keeps waiting on the display server; a stalled loop would hardly switch at all. A machine
  // busy with other work may slow the frames down to fewer switches than a free one makes.
  static void ExpectFramesRunning(BackgroundProgram& player, long switchesPerPoll = 100) {
    bool turning = false;
    for (int waited = 0; waited < START_TIMEOUT_MS && !turning && player.IsRunning(); waited += 600) {
      long before = player.ContextSwitches();
      SleepMs(600);
      turning = player.ContextSwitches() - before > switchesPerPoll;
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
  // A loaded machine may take a while to run the frames in which the player follows the pointer.
  WindowGeometry after = GetWindowGeometry(window);
  for (int waited = 0; waited < START_TIMEOUT_MS && (after.x != before.x + 60 || after.y != before.y + 40); waited += 100) {
    SleepMs(100);
    after = GetWindowGeometry(window);
  }
  EXPECT_EQ(after.x - before.x, 60);
  EXPECT_EQ(after.y - before.y, 40);
  PointAtWindow(window);
  PressKeys({"alt+F4"});
  EXPECT_EQ(player.WaitForExit(EXIT_TIMEOUT_MS), 0) << player.ErrorOutput();
}

// Started without an argument where there is no pack, by a program with no showcase installed
// beside it (the build's own): the start fails as it always has.
TEST_F(PlayerTest, WithoutAPackTheStartEndsWithTheCriticalText) {
  ASSERT_FALSE(std::filesystem::exists(ShowcaseFolderBeside(BinaryPath("app/torvane")) + "/torvane.pak"));
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
  // Then the line a person reads: what was looked for and why it is not there.
  EXPECT_NE(player.ErrorOutput().find(critical + "\n[pack] error: torvane.pak: No such file or directory\n"), std::string::npos)
      << player.ErrorOutput();
  EXPECT_TRUE(WaitForProcessWindow(player.Pid(), 500).empty()) << "no demo window without a pack";
  rmdir(folder);
}

// Music that cannot be played shows its warning and ends the player with a status of its own,
// never the 0 of a demo that ran to its end.
TEST_F(PlayerTest, MusicThatCannotBePlayedEndsWithItsOwnStatus) {
  const char* wantedText = "Sound::music.ogg";
  struct Music {
    const char* name;
    const char* bytes;  // null: no music.ogg at all
  };
  for (const Music& music : {Music{"missing", nullptr}, Music{"empty", ""}, Music{"garbage", "OggS but nothing else of a stream"}}) {
    SCOPED_TRACE(music.name);
    std::string folder = std::string("/tmp/torvane-music-") + music.name + "-" + std::to_string(getpid());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(ProductionFolder() + "/torvane.pak", folder + "/torvane.pak");
    if (music.bytes) std::ofstream(folder + "/music.ogg", std::ios::binary) << music.bytes;
    BackgroundProgram player(BinaryPath("app/torvane"), folder);
    std::string launcher = WaitForWindow("^Torvane launcher$", START_TIMEOUT_MS);
    ASSERT_FALSE(launcher.empty()) << player.ErrorOutput();
    ClickLauncherControl(launcher, LAUNCHER_FULLSCREEN_BOX[0], LAUNCHER_FULLSCREEN_BOX[1]);
    ClickLauncherControl(launcher, LAUNCHER_RUN_BUTTON[0], LAUNCHER_RUN_BUTTON[1]);
    EXPECT_GE(AnswerBoxes(player, START_TIMEOUT_MS), 1) << "the warning is shown in a box";
    EXPECT_EQ(player.WaitForExit(EXIT_TIMEOUT_MS), PLAYER_EXIT_NO_MUSIC) << player.ErrorOutput();
    EXPECT_NE(player.ErrorOutput().find(std::string("[sound] warning: ") + wantedText), std::string::npos) << player.ErrorOutput();
    std::filesystem::remove_all(folder);
  }
}

// Which failure a start that did not get to the frames reports, when more than one is recorded.
TEST(PlayerStartFailure, EachCauseHasItsOwnStatusAndTheViewersCloseIsNone) {
  struct Case {
    StartFailures failures;
    int status;
  };
  for (const Case& c : {Case{{true, false, false}, PLAYER_EXIT_NO_WINDOW}, Case{{false, true, false}, PLAYER_EXIT_NO_MUSIC},
                        Case{{false, false, true}, PLAYER_EXIT_NO_LAUNCHER}, Case{{false, false, false}, PLAYER_EXIT_OVER},
                        Case{{true, true, true}, PLAYER_EXIT_NO_WINDOW}, Case{{false, true, true}, PLAYER_EXIT_NO_MUSIC}}) {
    EXPECT_EQ(StartFailureStatus(c.failures), c.status)
        << c.failures.window << c.failures.music << c.failures.launcher;
  }
  EXPECT_NE(PLAYER_EXIT_NO_WINDOW, platform::FATAL_EXIT_STATUS);
}

// Kiosk scripts stop players with timeout and kill: SIGINT and SIGTERM end the player at every
// moment with 128 + the signal's number, and nothing it started stays behind (a message box is
// shown from a child process).
TEST_F(PlayerTest, TerminationSignalsEndThePlayerAtEveryMomentLeavingNothingBehind) {
  enum class Moment { Launcher, Loading, Playing, MessageBox };
  struct Case {
    const char* name;
    Moment moment;
    int signalNumber;
  };
  for (const Case& c : {Case{"launcher", Moment::Launcher, SIGINT}, Case{"loading", Moment::Loading, SIGTERM},
                        Case{"playing", Moment::Playing, SIGINT}, Case{"playing", Moment::Playing, SIGTERM},
                        Case{"message box", Moment::MessageBox, SIGTERM}, Case{"message box", Moment::MessageBox, SIGINT}}) {
    SCOPED_TRACE(std::string(c.name) + ", signal " + std::to_string(c.signalNumber));
    std::string folder = std::string("/tmp/torvane-signal-") + std::to_string(getpid());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(ProductionFolder() + "/torvane.pak", folder + "/torvane.pak");
    // Without its music the player shows a box, and waits for it, before it ends.
    if (c.moment != Moment::MessageBox) std::filesystem::copy_file(ProductionFolder() + "/music.ogg", folder + "/music.ogg");
    BackgroundProgram player(BinaryPath("app/torvane"), folder);
    std::string launcher = WaitForWindow("^Torvane launcher$", START_TIMEOUT_MS);
    ASSERT_FALSE(launcher.empty()) << player.ErrorOutput();
    if (c.moment != Moment::Launcher) {
      ClickLauncherControl(launcher, LAUNCHER_FULLSCREEN_BOX[0], LAUNCHER_FULLSCREEN_BOX[1]);
      ClickLauncherControl(launcher, LAUNCHER_RUN_BUTTON[0], LAUNCHER_RUN_BUTTON[1]);
    }
    if (c.moment == Moment::Loading || c.moment == Moment::Playing) {
      ASSERT_FALSE(WaitForProcessWindow(player.Pid(), START_TIMEOUT_MS).empty());
    }
    if (c.moment == Moment::Playing) ExpectFramesRunning(player, 30);
    if (c.moment == Moment::MessageBox) {
      ASSERT_FALSE(WaitForBoxWindow(START_TIMEOUT_MS).empty()) << player.ErrorOutput();
    }
    std::vector<pid_t> children = player.Children();
    if (c.moment == Moment::MessageBox) {
      EXPECT_FALSE(children.empty()) << "the box is shown from a child";
    }
    ASSERT_TRUE(player.IsRunning()) << player.ErrorOutput();
    kill(player.Pid(), c.signalNumber);
    EXPECT_EQ(player.WaitForExit(EXIT_TIMEOUT_MS), 128 + c.signalNumber) << player.ErrorOutput();
    for (pid_t child : children) {
      for (int waited = 0; waited < EXIT_TIMEOUT_MS && ProcessRuns(child); waited += 50) SleepMs(50);
      EXPECT_FALSE(ProcessRuns(child)) << "child " << child << " outlived the player";
    }
    EXPECT_TRUE(WaitForBoxWindow(500).empty()) << "a box stayed on screen";
    std::filesystem::remove_all(folder);
  }
}

// The production named on the command line, or found without one, is the one that plays: each
// case runs from a folder holding no production of its own, so only the right one can start.
TEST_F(PlayerTest, PlaysTheProductionItsArgumentNamesOrTheInstalledShowcase) {
  TemporaryFolder root;
  namespace fs = std::filesystem;
  const fs::path production = ProductionFolder();
  fs::create_directories(root.Path() / "empty");
  fs::copy(production, root.Path() / "folder");
  fs::create_directories(root.Path() / "pack");
  fs::copy_file(production / "torvane.pak", root.Path() / "pack/demo.pak");
  fs::copy_file(production / "music.ogg", root.Path() / "pack/music.ogg");
  // An installation moved anywhere: the player beside share/torvane/showcase.
  fs::create_directories(root.Path() / "usr/bin");
  fs::copy_file(BinaryPath("app/torvane"), root.Path() / "usr/bin/torvane");
  fs::create_directories(root.Path() / "usr/share/torvane");
  fs::copy(production, root.Path() / "usr/share/torvane/showcase");
  struct Case {
    const char* name;
    std::string program;
    std::vector<std::string> args;
  };
  const Case cases[] = {
      {"a folder", BinaryPath("app/torvane"), {root / "folder"}},
      {"a pack with its music beside it", BinaryPath("app/torvane"), {root / "pack/demo.pak"}},
      {"none, with the showcase installed", root / "usr/bin/torvane", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BackgroundProgram player(c.program, root / "empty", c.args);
    std::string window = StartPlayer(player, true);
    ASSERT_FALSE(window.empty()) << player.ErrorOutput();
    // Alt+F4 ends it early; should a loaded machine lose the key, the demo ends by itself.
    PointAtWindow(window);
    PressKeys({"alt+F4"});
    EXPECT_EQ(player.WaitForExit(EXIT_TIMEOUT_MS), PLAYER_EXIT_OVER) << player.ErrorOutput();
    EXPECT_EQ(player.ErrorOutput().find("] error:"), std::string::npos) << player.ErrorOutput();
  }
}

// An argument that names no production ends the player before its launcher, saying what it
// looked for.
TEST_F(PlayerTest, AnArgumentNamingNoProductionEndsAtOnceSayingWhatWasLookedFor) {
  TemporaryFolder root;
  std::filesystem::create_directories(root.Path() / "empty");
  BackgroundProgram player(BinaryPath("app/torvane"), root.Path().string(), {"empty"});
  EXPECT_EQ(player.WaitForExit(EXIT_TIMEOUT_MS), PLAYER_EXIT_USAGE);
  EXPECT_NE(player.ErrorOutput().find("torvane: no production in the folder empty: empty/torvane.pak is not there"),
            std::string::npos)
      << player.ErrorOutput();
  EXPECT_TRUE(WaitForWindow("^Torvane launcher$", 500).empty()) << "no launcher for a production that is not there";
}

}  // namespace
