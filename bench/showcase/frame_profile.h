#pragma once
// Where a composed frame's time goes: each pass of the frame composition is bracketed with
// glFinish, so that a software rasterizer's deferred work lands in the pass that queued it, and
// charged to its kind with its elapsed and CPU time (the CPU time of every thread of the process,
// what a software rasterizer spends). Where the driver has GL_ARB_timer_query, the GPU time of
// each kind is taken too. Finishing after every pass costs a little overlap; the sum of the kinds
// stays within a few per cent of the unprofiled frame.

#include <array>

#include "render/gpu_pass_timer.h"

enum class FrameCost { Scene, PostEffect, FinalScreen, Other, ReadBack, Count };

struct CostTimes {
  double wallMs = 0;
  double cpuMs = 0;
  double gpuMs = 0;
};

struct FrameCosts {
  std::array<CostTimes, static_cast<size_t>(FrameCost::Count)> kinds{};
  CostTimes& operator[](FrameCost kind) { return kinds[static_cast<size_t>(kind)]; }
  const CostTimes& operator[](FrameCost kind) const { return kinds[static_cast<size_t>(kind)]; }
};

class FrameProfiler : public FramePassObserver {
 public:
  void PassBegin(FramePass pass, int index) override;
  void PassEnd() override;

  // Starts a frame: what follows until EndCompose is composition.
  void BeginCompose();
  void EndCompose();
  void BeginReadBack();
  void EndReadBack();
  // The frame's costs, once EndReadBack has been called.
  const FrameCosts& Costs() const { return mCosts; }

 private:
  struct Mark {
    double wallMs;
    double cpuMs;
  };
  static Mark Now();
  // Adds the time since `since` to kind and returns it.
  Mark Charge(FrameCost kind, const Mark& since);

  FrameCosts mCosts;
  FrameCost mPassKind = FrameCost::Other;
  Mark mPassStart{};
  Mark mComposeStart{};
  Mark mReadBackStart{};
  GpuPassTimer mGpu;
};
