#pragma once
// The passes a composed frame is made of, and the observer told where each begins and ends (the
// developer mode times them on the GPU).

enum class FramePass { SceneLine, PostEffect, PassThrough, FinalScreen };

// Told in order and never nested. index: the line for a scene line, the entry for a post-effect,
// else 0.
class FramePassObserver {
 public:
  virtual ~FramePassObserver() = default;
  virtual void PassBegin(FramePass pass, int index) = 0;
  virtual void PassEnd() = 0;
};
