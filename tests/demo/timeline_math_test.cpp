#include <cmath>

#include <gtest/gtest.h>

#include "demo/escape_fade.h"
#include "demo/jitter_tables.h"
#include "demo/letterbox.h"
#include "demo/scene_line_table.h"
#include "scene/cut_timeline.h"

namespace {

TEST(SceneLineTable, SpansIncludeBothEndsAndTheFirstActiveSlotWins) {
  SceneLineTable table;
  ASSERT_TRUE(table.Add(2, 1000, 2000, 0));
  ASSERT_TRUE(table.Add(2, 1500, 3000, 1));
  EXPECT_EQ(table.ActiveSlot(2, 999), nullptr);
  EXPECT_EQ(table.ActiveSlot(2, 1000)->entry, 0);
  EXPECT_EQ(table.ActiveSlot(2, 1700)->entry, 0) << "during the overlap the earlier entry is drawn";
  EXPECT_EQ(table.ActiveSlot(2, 2000)->entry, 0);
  EXPECT_EQ(table.ActiveSlot(2, 2001)->entry, 1);
  EXPECT_EQ(table.ActiveSlot(3, 1500), nullptr);
}

TEST(SceneLineTable, NegativeTimesCountAsVeryLargeOnes) {
  SceneLineTable table;
  table.Add(0, 0, static_cast<uint32_t>(-1), 0);
  EXPECT_NE(table.ActiveSlot(0, 4000000000u), nullptr);
}

TEST(SceneLineTable, EntriesOutsideTheTableAreRefusedNotWrittenPastIt) {
  SceneLineTable table;
  EXPECT_FALSE(table.Add(10, 0, 10, 0));
  EXPECT_FALSE(table.Add(-1, 0, 10, 0));
  for (int i = 0; i < SCENE_LINE_SLOTS; ++i) ASSERT_TRUE(table.Add(9, 0, 10, i));
  EXPECT_FALSE(table.Add(9, 0, 10, 99));
  EXPECT_EQ(table.SlotCount(9), SCENE_LINE_SLOTS);
  EXPECT_EQ(table.ActiveSlot(10, 5), nullptr);
  table.Clear();
  EXPECT_EQ(table.SlotCount(9), 0);
  EXPECT_EQ(table.ActiveSlot(9, 5), nullptr);
}

TEST(ScenePhase, RunsFromZeroToOneAndAZeroLengthSpanIsZero) {
  EXPECT_FLOAT_EQ(ScenePhase(1000, 1000, 2000), 0.0f);
  EXPECT_FLOAT_EQ(ScenePhase(1250, 1000, 2000), 0.25f);
  EXPECT_FLOAT_EQ(ScenePhase(2000, 1000, 2000), 1.0f);
  EXPECT_FLOAT_EQ(ScenePhase(500, 500, 500), 0.0f);
  EXPECT_TRUE(std::isfinite(ScenePhase(500, 500, 500)));
}

TEST(CutTimeline, ScenesAreLaidEndToEndAndTheFirstMatchWins) {
  std::vector<CutSpan> cuts = BuildCutSpans({4.0f, 6.5f});
  ASSERT_EQ(cuts.size(), 2u);
  EXPECT_EQ(cuts[0].start, 0);
  EXPECT_EQ(cuts[0].end, 4000);
  EXPECT_EQ(cuts[1].start, 4000);
  EXPECT_EQ(cuts[1].end, 10500);

  int32_t p = static_cast<int32_t>(0.5f * 10500);
  EXPECT_EQ(p, 5250);
  ASSERT_EQ(FindCut(cuts, p), 1);
  EXPECT_NEAR(CutPhase(cuts[1], p), 0.1923, 1e-4);
  ASSERT_EQ(FindCut(cuts, 4000), 0);
  EXPECT_FLOAT_EQ(CutPhase(cuts[0], 4000), 1.0f);
  EXPECT_EQ(FindCut(cuts, 10501), -1);
  EXPECT_EQ(FindCut(cuts, -1), -1);
}

TEST(CutTimeline, ASceneWithoutCameraIsAZeroLengthCutWithAFinitePhase) {
  std::vector<CutSpan> cuts = BuildCutSpans({2.0f, 0.0f, 1.0f});
  EXPECT_EQ(cuts[1].start, 2000);
  EXPECT_EQ(cuts[1].end, 2000);
  EXPECT_EQ(FindCut(cuts, 2000), 0);
  EXPECT_FLOAT_EQ(CutPhase(cuts[1], 2000), 0.0f);
}

TEST(Letterbox, BarsKeepA16By9PictureInsideEachDisplayAspect) {
  ScreenRect wide = LetterboxRect(16, 9);
  EXPECT_FLOAT_EQ(wide.x0, 0.0f);
  EXPECT_FLOAT_EQ(wide.y0, 0.0f);
  EXPECT_FLOAT_EQ(wide.x1, 1.0f);
  EXPECT_FLOAT_EQ(wide.y1, 1.0f);
  EXPECT_FLOAT_EQ(LetterboxRect(4, 3).y0, 0.125f);
  EXPECT_FLOAT_EQ(LetterboxRect(4, 3).y1, 0.875f);
  EXPECT_FLOAT_EQ(LetterboxRect(4, 3).x0, 0.0f);
  EXPECT_NEAR(LetterboxRect(16, 10).y0, 0.05f, 1e-6);
  EXPECT_NEAR(LetterboxRect(5, 4).y0, 0.1484375f, 1e-6);
  ScreenRect ultraWide = LetterboxRect(21, 9);
  EXPECT_GT(ultraWide.x0, 0.0f);
  EXPECT_FLOAT_EQ(ultraWide.y0, 0.0f);
  ScreenRect broken = LetterboxRect(0, 9);
  EXPECT_FLOAT_EQ(broken.x1, 1.0f);
}

TEST(JitterTables, EachLevelSelectsItsPublishedTable) {
  EXPECT_EQ(JitterTableForLevel(0).size(), 1u);
  EXPECT_EQ(JitterTableForLevel(0)[0].x, 0.0);
  ASSERT_EQ(JitterTableForLevel(2).size(), 2u);
  EXPECT_EQ(JitterTableForLevel(2)[0].x, 0.246490);
  EXPECT_EQ(JitterTableForLevel(2)[0].y, 0.249999);
  EXPECT_EQ(JitterTableForLevel(3)[0].x, -0.373411);
  ASSERT_EQ(JitterTableForLevel(4).size(), 4u);
  EXPECT_EQ(JitterTableForLevel(4)[0].y, 0.353730);
  ASSERT_EQ(JitterTableForLevel(8).size(), 8u);
  EXPECT_EQ(JitterTableForLevel(8)[0].x, -0.334818);
  ASSERT_EQ(JitterTableForLevel(16).size(), 16u);
  EXPECT_EQ(JitterTableForLevel(16)[0].x, 0.0);
  for (int level : {2, 3, 4, 8, 16}) {
    for (const JitterPoint& point : JitterTableForLevel(level)) {
      EXPECT_LT(std::abs(point.x), 0.5);
      EXPECT_LT(std::abs(point.y), 0.5);
    }
  }
}

TEST(EscapeFade, MusicAndPictureFadeTogetherAndEndAfterThreeSeconds) {
  EscapeFade fade;
  EscapeFadeStep first = fade.Step(5000);
  EXPECT_TRUE(first.goOn);
  EXPECT_EQ(first.volume, 0);
  EXPECT_FLOAT_EQ(first.blackOpacity, 0.0f);

  EscapeFadeStep quarter = fade.Step(5000 + 2250);  // b = 0.25
  EXPECT_TRUE(quarter.goOn);
  EXPECT_EQ(quarter.volume, -5000);
  EXPECT_FLOAT_EQ(quarter.blackOpacity, 1.0f - 0.0625f);

  EscapeFadeStep last = fade.Step(5000 + 3000);  // b = 0, the square root is skipped
  EXPECT_TRUE(last.goOn);
  EXPECT_EQ(last.volume, -10000);
  EXPECT_FALSE(fade.Step(5000 + 3001).goOn);
}

}  // namespace
