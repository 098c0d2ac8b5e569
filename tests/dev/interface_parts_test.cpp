// The pieces of the developer mode's interface that hold logic: the timeline's pixel-to-time
// mapping, the frame statistics and the log it shows.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/log.h"
#include "dev/log_panel.h"
#include "dev/stats_panel.h"
#include "dev/timeline_panel.h"

namespace {

TEST(TimelinePanel, PixelsAndTimesMapBothWaysWithinTheTrack) {
  EXPECT_EQ(TimelineTimeAt(100.0f, 100.0f, 800.0f, 8000), 0u);
  EXPECT_EQ(TimelineTimeAt(500.0f, 100.0f, 800.0f, 8000), 4000u);
  EXPECT_EQ(TimelineTimeAt(900.0f, 100.0f, 800.0f, 8000), 8000u);
  EXPECT_EQ(TimelineTimeAt(20.0f, 100.0f, 800.0f, 8000), 0u) << "left of the track: its start";
  EXPECT_EQ(TimelineTimeAt(5000.0f, 100.0f, 800.0f, 8000), 8000u) << "right of it: its end";
  EXPECT_EQ(TimelineTimeAt(300.0f, 100.0f, 0.0f, 8000), 0u);
  for (uint32_t t : {0u, 1234u, 7999u, 8000u}) {
    EXPECT_NEAR(TimelineTimeAt(TimelineXOf(t, 100.0f, 800.0f, 8000), 100.0f, 800.0f, 8000), t, 10u) << t;
  }
  EXPECT_EQ(TimelineXOf(9000, 100.0f, 800.0f, 8000), 900.0f);
  EXPECT_EQ(TimelineXOf(500, 100.0f, 800.0f, 0), 100.0f);
}

TEST(StatsPanel, KeepsTheLastFramesOnly) {
  StatsPanel stats;
  EXPECT_EQ(stats.MeanMs(), 0.0f);
  stats.AddFrame(1000.0f);
  for (size_t i = 0; i < STATS_FRAMES; ++i) stats.AddFrame(i % 2 ? 10.0f : 20.0f);
  EXPECT_EQ(stats.MeanMs(), 15.0f) << "the slow first frame has gone";
  EXPECT_EQ(stats.LeastMs(), 10.0f);
  EXPECT_EQ(stats.MostMs(), 20.0f);
}

TEST(LogPanel, ShowsTheHistoryAndWhatFollowsUpToItsLimit) {
  ClearLogHistory();
  Log(LogLevel::Error, "effect", "data\\shader\\x.cgfx:12: before the panel");
  LogPanel panel;
  Log(LogLevel::Debug, "dev", "not shown");
  for (size_t i = 0; i < LOG_PANEL_LINES; ++i) Log(LogLevel::Info, "dev", "line %zu", i);
  std::vector<LogMessage> messages = panel.Messages();
  ASSERT_EQ(messages.size(), LOG_PANEL_LINES);
  EXPECT_EQ(messages.front().text, "line 0") << "the oldest went first";
  EXPECT_EQ(messages.back().text, "line " + std::to_string(LOG_PANEL_LINES - 1));

  ClearLogHistory();
  Log(LogLevel::Error, "effect", "data\\shader\\x.cgfx:12: syntax");
  LogPanel fresh;
  ASSERT_EQ(fresh.Messages().size(), 1u);
  EXPECT_EQ(FormatLogLine(fresh.Messages()[0]), "[effect] error: data\\shader\\x.cgfx:12: syntax");
}

}  // namespace
