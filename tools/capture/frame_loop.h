#pragma once
// The GL side of a capture: frames composed in order at their fixed-step demo times, each read
// back asynchronously and handed, oldest first, to the encoding thread, so that composing the
// next frames overlaps the copy and the encoding of the last ones.

#include <cstdint>
#include <deque>

#include "demo/headless_demo.h"
#include "tools/capture/capture_timing.h"
#include "tools/capture/encode_worker.h"
#include "tools/capture/progress_line.h"

// Frames between composing and storing: the read-back ring and the encoder's queue.
constexpr int CAPTURE_READ_BACK_DEPTH = 3;
constexpr size_t CAPTURE_QUEUE_FRAMES = 3;

class FrameLoop {
 public:
  // demo must be started with readBackDepth CAPTURE_READ_BACK_DEPTH.
  FrameLoop(HeadlessDemo& demo, EncodeWorker& worker, uint32_t fps) : mDemo(demo), mWorker(worker), mFps(fps) {}

  // Composes, without reading back, the frames before first whose buffers frame first takes over.
  void WarmUp(int64_t first);
  // Every frame of range, in order, to the worker. False when the worker failed, a frame could not
  // be read back, or the run was interrupted.
  bool Run(const FrameRange& range, ProgressLine& progress);

 private:
  bool HandOverOldest();

  HeadlessDemo& mDemo;
  EncodeWorker& mWorker;
  uint32_t mFps;
  std::deque<int64_t> mQueued;  // frame numbers in flight, oldest first
};
