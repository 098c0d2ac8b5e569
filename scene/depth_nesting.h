#pragma once
// The model-view nesting of a model's objects by their depth in the object list. Each object gets a
// matrix of its own: a deeper object pushes over the previous one, an object of the same depth
// replaces the previous one's, and an object k levels shallower pops k matrices before pushing
// its own (authored models rely on exactly this sequence).

#include <cstdint>

struct NestingStep {
  int64_t pops = 0;
  int64_t pushes = 0;
};

class DepthNesting {
 public:
  // maxHeld (at least 1): how many matrices the stack has room for; an object that would need
  // more replaces the deepest one instead, since a push on a full stack would be lost.
  explicit DepthNesting(int64_t maxHeld = INT64_MAX) : mMaxHeld(maxHeld < 1 ? 1 : maxHeld) {}

  // The pops and pushes before drawing an object of the given depth. Pops never reach below the
  // matrices this nesting pushed, so a depth that jumps by more than one level cannot unwind the
  // caller's matrices.
  NestingStep Enter(uint32_t depth);
  // The pops after the last object: every matrix still pushed.
  int64_t Finish();

 private:
  int64_t mMaxHeld;
  int64_t mPreviousDepth = -1;
  int64_t mPushed = 0;
};
