// The diagnostic path: what reaches stderr at each threshold, the bounded history, sinks, and
// alerts going to the log and to the presenter the screen's owner installs.
#include "core/log.h"

#include <gtest/gtest.h>

#include "core/alert.h"
#include "core/debug_output.h"

namespace {

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mSaved = LogStderrLevel();
    ClearLogHistory();
  }
  void TearDown() override {
    SetLogStderrLevel(mSaved);
    SetAlertPresenter(nullptr);
  }
  LogLevel mSaved = LogLevel::Warning;
};

std::string StderrOf(void (*action)()) {
  testing::internal::CaptureStderr();
  action();
  return testing::internal::GetCapturedStderr();
}

std::vector<Alert> gPresented;
void RecordAlert(const Alert& alert) { gPresented.push_back(alert); }

}  // namespace

TEST_F(LogTest, StderrGetsTaggedLinesFromTheThresholdUpAndDebugTextOnlyWhenAskedFor) {
  auto logAll = [] {
    Log(LogLevel::Info, "pack", "opened %d entries", 3);
    Log(LogLevel::Warning, "effect", "slow\n");
    Log(LogLevel::Error, "sound", "no output");
    DebugText("Scene:%s Stack[%lu]", "x", 1ul);
  };
  SetLogStderrLevel(LogLevel::Warning);
  EXPECT_EQ(StderrOf(logAll), "[effect] warning: slow\n[sound] error: no output\n");
  SetLogStderrLevel(LogLevel::Debug);
  EXPECT_EQ(StderrOf(logAll),
            "[pack] info: opened 3 entries\n[effect] warning: slow\n[sound] error: no output\n"
            "[debug] debug: Scene:x Stack[1]\n");
  SetLogStderrLevel(LogLevel::Off);
  EXPECT_EQ(StderrOf(logAll), "");
  // The history keeps info and up (per-frame debug text would push everything else out).
  std::vector<LogMessage> history = LogHistory();
  ASSERT_EQ(history.size(), 9u);
  EXPECT_EQ(history[0].subsystem, "pack");
  EXPECT_EQ(history[1].text, "slow");
}

TEST_F(LogTest, HistoryKeepsTheNewestAndSinksSeeEveryMessageUntilRemoved) {
  SetLogStderrLevel(LogLevel::Off);
  std::vector<std::string> seen;
  int sink = AddLogSink([&seen](const LogMessage& message) { seen.push_back(message.text); });
  for (size_t i = 0; i < LOG_HISTORY_SIZE + 5; ++i) Log(LogLevel::Info, "t", "%zu", i);
  DebugText("frame");
  RemoveLogSink(sink);
  Log(LogLevel::Error, "t", "after");
  ASSERT_EQ(seen.size(), LOG_HISTORY_SIZE + 6);
  EXPECT_EQ(seen.back(), "frame");
  std::vector<LogMessage> history = LogHistory();
  ASSERT_EQ(history.size(), LOG_HISTORY_SIZE);
  EXPECT_EQ(history.front().text, "6");
  EXPECT_EQ(history.back().text, "after");
}

TEST_F(LogTest, AlertsAreLoggedAndShownOnlyThroughTheInstalledPresenter) {
  SetLogStderrLevel(LogLevel::Warning);
  gPresented.clear();
  EXPECT_EQ(StderrOf([] { RaiseAlert("sound", {"", "Sound::music.ogg", AlertIcon::Warning}); }),
            "[sound] warning: Sound::music.ogg\n");
  EXPECT_TRUE(gPresented.empty());
  SetAlertPresenter(RecordAlert);
  EXPECT_EQ(StderrOf([] { RaiseAlert("definition", {"XML Parsing error", "bad", AlertIcon::Error}); }),
            "[definition] error: XML Parsing error: bad\n");
  ASSERT_EQ(gPresented.size(), 1u);
  EXPECT_EQ(gPresented[0].caption, "XML Parsing error");
  EXPECT_EQ(gPresented[0].text, "bad");
}
