// The matrix nesting of a model's objects by depth.
#include "scene/depth_nesting.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// "push", "pop" per matrix operation, then the pops of the end, for objects of depths.
std::vector<std::string> Operations(const std::vector<uint32_t>& depths, int64_t maxHeld = INT64_MAX) {
  DepthNesting nesting(maxHeld);
  std::vector<std::string> operations;
  for (uint32_t depth : depths) {
    NestingStep step = nesting.Enter(depth);
    for (int64_t i = 0; i < step.pops; ++i) operations.push_back("pop");
    for (int64_t i = 0; i < step.pushes; ++i) operations.push_back("push");
  }
  for (int64_t i = nesting.Finish(); i > 0; --i) operations.push_back("pop");
  return operations;
}

using Ops = std::vector<std::string>;

TEST(DepthNesting, SiblingsReplaceAndShallowerObjectsUnwind) {
  EXPECT_EQ(Operations({0, 1, 1, 0}), (Ops{"push", "push", "pop", "push", "pop", "push", "pop", "pop"}));
  EXPECT_EQ(Operations({0, 2, 0}), (Ops{"push", "push", "pop", "pop", "push", "pop"}));
  EXPECT_EQ(Operations({0, 0, 0}), (Ops{"push", "pop", "push", "pop", "push", "pop"}));
  EXPECT_EQ(Operations({}), Ops{});
}

TEST(DepthNesting, NeverPopsMoreThanItPushed) {
  // Two pushes cannot pay for a return of three levels: the caller's matrices stay.
  EXPECT_EQ(Operations({0, 3, 0}), (Ops{"push", "push", "pop", "pop", "push", "pop"}));
  EXPECT_EQ(Operations({5, 0}), (Ops{"push", "pop", "push", "pop"}));
  EXPECT_EQ(Operations({0xFFFFFFFFu, 0}), (Ops{"push", "pop", "push", "pop"}));
  // Whatever the depths, the pops balance the pushes.
  for (const std::vector<uint32_t>& depths : std::vector<std::vector<uint32_t>>{{3, 1, 4, 1, 5, 9, 2, 6}, {9, 0, 9, 0}}) {
    int64_t held = 0;
    for (const std::string& operation : Operations(depths)) {
      held += operation == "push" ? 1 : -1;
      ASSERT_GE(held, 0);
    }
    EXPECT_EQ(held, 0);
  }
}

TEST(DepthNesting, AFullStackMakesDeeperObjectsReplaceTheDeepest) {
  EXPECT_EQ(Operations({0, 1, 2, 3}, 2), (Ops{"push", "push", "pop", "push", "pop", "push", "pop", "pop"}));
  EXPECT_EQ(Operations({0, 1, 0}, 1), (Ops{"push", "pop", "push", "pop", "push", "pop"}));
  EXPECT_EQ(Operations({0, 1}, 0), (Ops{"push", "pop", "push", "pop"}));  // room for one at the least
}

}  // namespace
