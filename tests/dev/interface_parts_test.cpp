// The pieces of the developer mode's interface that hold logic: the post-effect entry written
// back as XML, the timeline's pixel-to-time mapping, the frame statistics and the log it shows.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/log.h"
#include "dev/log_panel.h"
#include "dev/post_effect_xml.h"
#include "dev/stats_panel.h"
#include "dev/timeline_panel.h"
#include "files/definition_xml.h"
#include "resources/post_effect_entry.h"

namespace {

// The copied XML is what an author pastes into the definition file: read back, it gives the entry.
TEST(PostEffectXml, ReadsBackAsTheSameEntry) {
  PostEffectEntry entry;
  entry.startTime = 250;
  entry.endTime = 4294967295u;
  entry.shader = "glow\"Composite";
  entry.execPrio = -3;
  entry.execPass = 1;
  entry.renderTarget = 7;
  entry.sources.push_back(ReadPostEffectSource("sceneTex", "color", "w0"));
  entry.sources.push_back(ReadPostEffectSource("depth&Tex", "depth", "9"));
  entry.constants.push_back(ReadPostEffectConstant("glowStrength", "float", "0.6"));
  entry.constants.push_back(ReadPostEffectConstant("tint", "float3", "1,0.9,0.8"));
  entry.constants[1].values[1] = 0.123456789f;
  entry.constants.push_back(ReadPostEffectConstant("odd", "half", "5"));

  std::string text = "<TRDataXml name=\"postEffectDefine\">\n" + PostEffectEntryXml(entry) + "</TRDataXml>\n";
  XmlParseResult parsed = ParseXmlText(text.c_str(), text.size(), DEFINITION_ROOT_TAG);
  ASSERT_EQ(parsed.code, 0) << text;
  std::vector<PostEffectEntry> entries;
  std::vector<std::string> notes;
  ReadPostEffectEntries(parsed.root, entries, notes);
  ASSERT_EQ(entries.size(), 1u) << text;
  const PostEffectEntry& back = entries[0];
  EXPECT_EQ(back.startTime, entry.startTime);
  EXPECT_EQ(back.endTime, entry.endTime);
  EXPECT_EQ(back.shader, entry.shader);
  EXPECT_EQ(back.execPrio, entry.execPrio);
  EXPECT_EQ(back.execPass, entry.execPass);
  EXPECT_EQ(back.renderTarget, entry.renderTarget);
  ASSERT_EQ(back.sources.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(back.sources[i].param, entry.sources[i].param);
    EXPECT_EQ(back.sources[i].set, entry.sources[i].set);
    EXPECT_EQ(back.sources[i].index, entry.sources[i].index);
    EXPECT_EQ(back.sources[i].kind, entry.sources[i].kind);
  }
  ASSERT_EQ(back.constants.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(back.constants[i].param, entry.constants[i].param);
    EXPECT_EQ(back.constants[i].type, entry.constants[i].type);
    for (int c = 0; c < PostEffectConstantComponents(entry.constants[i].type); ++c) {
      EXPECT_EQ(back.constants[i].values[c], entry.constants[i].values[c]) << i << " " << c;
    }
  }
  EXPECT_NE(text.find("value=\"1,0.12345679,0.8\""), std::string::npos) << text;
}

TEST(PostEffectXml, FloatsAreWrittenAsShortAsTheyReadBack) {
  EXPECT_EQ(ShortestFloatText(0.6f), "0.6");
  EXPECT_EQ(ShortestFloatText(2.0f), "2");
  EXPECT_EQ(ShortestFloatText(-1.0e-7f), "-1e-07");
  for (float value : {0.1f, 1.0f / 3.0f, 123456.789f, 3.4e38f}) {
    EXPECT_EQ(std::strtof(ShortestFloatText(value).c_str(), nullptr), value);
  }
}

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
