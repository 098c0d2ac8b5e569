#pragma once
// GPU time of each pass of a frame (scene lines, post-effects, the final screen), measured with
// GL_ARB_timer_query where the driver has it.

#include <string>
#include <vector>

#include <GL/glew.h>

#include "render/frame_pass.h"

struct PassTime {
  FramePass pass;
  int index;  // the line or the post-effect entry
  double ms;
};

class GpuPassTimer : public FramePassObserver {
 public:
  GpuPassTimer() = default;
  ~GpuPassTimer() override;
  GpuPassTimer(const GpuPassTimer&) = delete;
  GpuPassTimer& operator=(const GpuPassTimer&) = delete;

  // Whether the driver times GPU work (GL_ARB_timer_query).
  static bool Available();

  void PassBegin(FramePass pass, int index) override;
  void PassEnd() override;
  // Reads the frame's results once it has been drawn (waiting for the GPU if need be) and starts
  // counting the next frame.
  void Collect();
  const std::vector<PassTime>& LastFrame() const { return mLastFrame; }

 private:
  std::vector<GLuint> mQueries;
  std::vector<PassTime> mPasses;  // this frame's, in order; ms filled by Collect
  std::vector<PassTime> mLastFrame;
};

// "line 3", "post-effect 1", "pass-through", "final screen".
std::string PassLabel(const PassTime& time);
