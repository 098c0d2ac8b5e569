#include <map>

#include <gtest/gtest.h>

#include "tools/capture/warm_up_plan.h"

namespace {

constexpr int LINE0 = COMPOSITION_LINE_BUFFER;
constexpr int LINE1 = COMPOSITION_LINE_BUFFER + 1;
constexpr int WORK0 = COMPOSITION_WORK_BUFFER;
constexpr int FINAL = COMPOSITION_FINAL_BUFFER;

CompositionStep Draw(int line) { return {0, line}; }
CompositionStep Effect(BufferMask reads, int target) { return {reads, target}; }
CompositionStep Show() { return {BufferBit(FINAL), COMPOSITION_NO_BUFFER}; }

// A timeline as frame spans: each span gives the steps of its frames [from, to).
struct Span {
  int64_t from;
  int64_t to;
  std::vector<CompositionStep> steps;
};

FrameStepsFunction Timeline(std::vector<Span> spans) {
  return [spans](int64_t frame) {
    for (const Span& span : spans) {
      if (frame >= span.from && frame < span.to) return span.steps;
    }
    return std::vector<CompositionStep>{Show()};
  };
}

const BufferMask LINES_01 = BufferBit(LINE0) | BufferBit(LINE1);

TEST(PlanWarmUp, NeedsNothingWhenTheFirstFrameDrawsAllItReads) {
  auto timeline = Timeline({{0, 100, {Draw(LINE0), Draw(LINE1), Effect(LINES_01, FINAL), Show()}}});
  EXPECT_TRUE(PlanWarmUp(50, timeline).empty());
}

TEST(PlanWarmUp, AnIdleLineNeedsOnlyTheFrameItLastDrew) {
  auto timeline = Timeline({{0, 30, {Draw(LINE0), Draw(LINE1), Effect(LINES_01, FINAL), Show()}},
                            {30, 100, {Draw(LINE1), Effect(LINES_01, FINAL), Show()}}});
  EXPECT_EQ(PlanWarmUp(60, timeline), (std::vector<int64_t>{29}));
  EXPECT_TRUE(PlanWarmUp(20, timeline).empty());
}

TEST(PlanWarmUp, TwoIdleLinesNeedTheirLastFramesInOrder) {
  auto timeline = Timeline({{0, 10, {Draw(LINE0), Draw(LINE1), Effect(LINES_01, FINAL), Show()}},
                            {10, 20, {Draw(LINE1), Effect(LINES_01, FINAL), Show()}},
                            {20, 40, {Effect(LINES_01, FINAL), Show()}}});
  EXPECT_EQ(PlanWarmUp(30, timeline), (std::vector<int64_t>{9, 19}));
}

// An effect that reads its own target, as a trail does, depends on every frame it ran in.
TEST(PlanWarmUp, AFeedbackEffectNeedsItsWholeRun) {
  auto timeline = Timeline({{0, 5, {Draw(LINE0), Effect(BufferBit(LINE0), FINAL), Show()}},
                            {5, 12, {Draw(LINE0), Effect(BufferBit(LINE0) | BufferBit(WORK0), WORK0),
                                     Effect(BufferBit(WORK0), FINAL), Show()}}});
  EXPECT_EQ(PlanWarmUp(12, timeline), (std::vector<int64_t>{5, 6, 7, 8, 9, 10, 11}));
}

// A work buffer written earlier in the same frame is no dependency; one written only in the
// past is, and so is what the frame that wrote it read then.
TEST(PlanWarmUp, FollowsWhatTheNeededFramesRead) {
  auto timeline = Timeline({{0, 3, {Draw(LINE1), Show()}},
                            {3, 4, {Draw(LINE0), Effect(LINES_01, WORK0), Show()}},
                            {4, 50, {Draw(LINE0), Effect(BufferBit(LINE0) | BufferBit(WORK0), FINAL), Show()}}});
  EXPECT_EQ(PlanWarmUp(40, timeline), (std::vector<int64_t>{2, 3}));
}

// A frame where no effect writes the final buffer shows the last one written.
TEST(PlanWarmUp, AFinalBufferLeftAloneNeedsItsLastWriter) {
  auto timeline = Timeline({{0, 10, {Draw(LINE0), Effect(BufferBit(LINE0), FINAL), Show()}},
                            {10, 20, {Draw(LINE0), Effect(BufferBit(LINE0), WORK0), Show()}}});
  EXPECT_EQ(PlanWarmUp(15, timeline), (std::vector<int64_t>{9}));
}

TEST(PlanWarmUp, ABufferNeverWrittenBeforeNeedsNothing) {
  auto timeline = Timeline({{10, 20, {Draw(LINE0), Effect(BufferBit(LINE0) | BufferBit(LINE1), FINAL), Show()}}});
  EXPECT_TRUE(PlanWarmUp(15, timeline).empty());
  EXPECT_TRUE(PlanWarmUp(0, timeline).empty());
}

}  // namespace
