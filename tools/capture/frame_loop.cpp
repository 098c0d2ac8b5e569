#include "tools/capture/frame_loop.h"

#include "demo/fixed_step_demo_clock.h"
#include "demo/demo_manager.h"
#include "tools/capture/composition_steps.h"
#include "tools/capture/interruption.h"
#include "tools/capture/warm_up_plan.h"

void FrameLoop::WarmUp(int64_t first) {
  CompositionSteps steps(gDemoManager.LineTable());
  std::vector<int64_t> plan =
      PlanWarmUp(first, [&](int64_t frame) { return steps.At(FrameTimeMs(static_cast<uint64_t>(frame), mFps)); });
  for (int64_t frame : plan) {
    if (Interrupted()) return;
    mDemo.ComposeFrame(FrameTimeMs(static_cast<uint64_t>(frame), mFps));
  }
}

bool FrameLoop::Run(const FrameRange& range, ProgressLine& progress) {
  for (int64_t frame = range.first; frame < range.end; ++frame) {
    if (Interrupted()) return false;
    mDemo.ComposeFrame(FrameTimeMs(static_cast<uint64_t>(frame), mFps));
    if (mDemo.FramesInFlight() == CAPTURE_READ_BACK_DEPTH && !HandOverOldest()) return false;
    if (!mDemo.QueueFrame()) return false;
    mQueued.push_back(frame);
    progress.Update(mWorker.FramesStored());
  }
  while (!mQueued.empty()) {
    if (!HandOverOldest()) return false;
  }
  return true;
}

bool FrameLoop::HandOverOldest() {
  CapturedFrame captured;
  captured.index = mQueued.front();
  mQueued.pop_front();
  captured.pixels = mWorker.SpareBuffer();
  return mDemo.CollectFrame(captured.pixels) && mWorker.Push(std::move(captured));
}
