// The timeline's marks: where cuts begin in demo time, and the boundaries Page Up and Page Down
// jump between.
#include <vector>

#include <gtest/gtest.h>

#include "demo/scene_line_table.h"
#include "dev/timeline_snapshot.h"
#include "scene/cut_choice.h"

namespace {

// The first ms of a cut must show that cut, and the ms before it must not: checked against the
// choice the drawing makes, over spans and ranges that do not divide evenly.
TEST(TimelineSnapshot, ACutStartsAtTheFirstMillisecondTheDrawingShowsIt) {
  const std::vector<CutSpan> cuts = BuildCutSpans({1.0f, 2.5f, 0.7f, 3.3f});
  for (uint32_t start : {0u, 4000u, 1234u}) {
    for (uint32_t length : {7500u, 999u, 12345u}) {
      uint32_t end = start + length;
      int64_t range = cuts.back().end;
      for (size_t c = 0; c < cuts.size(); ++c) {
        uint32_t first = 0;
        ASSERT_TRUE(CutStartTime(start, end, cuts, c, range, first)) << c;
        EXPECT_EQ(ChooseCut(cuts, ScenePhase(first, start, end), range).index, static_cast<int>(c)) << c;
        if (first > start) {
          EXPECT_NE(ChooseCut(cuts, ScenePhase(first - 1, start, end), range).index, static_cast<int>(c))
              << "cut " << c << " at " << start << "+" << length;
        }
      }
    }
  }
  uint32_t unused = 0;
  EXPECT_FALSE(CutStartTime(0, 1000, cuts, cuts.size(), cuts.back().end, unused));
  EXPECT_FALSE(CutStartTime(0, 1000, cuts, 0, 0, unused));
}

TEST(TimelineSnapshot, BoundariesAreSceneEdgesAndCutStartsInOrder) {
  TimelineSnapshot timeline;
  SceneLineMark opening;
  opening.start = 0;
  opening.end = 4500;
  opening.cuts = {{"intro", 0, 1999}, {"spin", 2000, 4500}};
  SceneLineMark finale;
  finale.start = 4000;
  finale.end = 8000;
  finale.cuts = {{"close", 4000, 8000}};
  timeline.scenes = {opening, finale};
  std::vector<uint32_t> boundaries = TimelineBoundaries(timeline);
  EXPECT_EQ(boundaries, (std::vector<uint32_t>{0, 2000, 4000, 4501, 8001}));
  EXPECT_EQ(NextBoundary(boundaries, 0, 9000), 2000u);
  EXPECT_EQ(NextBoundary(boundaries, 2000, 9000), 4000u) << "from a boundary on to the next";
  EXPECT_EQ(NextBoundary(boundaries, 8001, 9000), 9000u);
  EXPECT_EQ(PreviousBoundary(boundaries, 4000), 2000u);
  EXPECT_EQ(PreviousBoundary(boundaries, 4200), 4000u);
  EXPECT_EQ(PreviousBoundary(boundaries, 0), 0u);
}

}  // namespace
