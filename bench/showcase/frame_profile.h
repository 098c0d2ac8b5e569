#pragma once
// Where a composed frame's time goes: each pass of the frame composition is bracketed with
// glFinish, so that a software rasterizer's deferred work lands in the pass that queued it, and
// charged to its kind with its elapsed and CPU time (the CPU time of every thread of the process,
// what a software rasterizer spends). Where the driver has GL_ARB_timer_query, the GPU time of
// each kind is taken too. Finishing after every pass costs a little overlap; the sum of the kinds
// stays within a few per cent of the unprofiled frame.
//
// Each kind also counts its draw calls (draw_call_counter.h) and, where the driver has
// GL_ARB_pipeline_statistics_query, the vertices it submitted and the fragments it shaded; each
// post-effect entry's time is kept apart as well.

#include <array>
#include <cstdint>
#include <map>

#include "render/gpu_pass_timer.h"

enum class FrameCost { Scene, PostEffect, FinalScreen, Other, ReadBack, Count };

struct CostTimes {
  double wallMs = 0;
  double cpuMs = 0;
  double gpuMs = 0;
  double draws = 0;
  double vertices = 0;
  double fragments = 0;

  CostTimes& operator+=(const CostTimes& other);
};

struct FrameCosts {
  std::array<CostTimes, static_cast<size_t>(FrameCost::Count)> kinds{};
  CostTimes& operator[](FrameCost kind) { return kinds[static_cast<size_t>(kind)]; }
  const CostTimes& operator[](FrameCost kind) const { return kinds[static_cast<size_t>(kind)]; }
  // By scene line and by post-effect entry.
  std::map<int, CostTimes> lines;
  std::map<int, CostTimes> postEffects;

  FrameCosts& operator+=(const FrameCosts& other);
};

class FrameProfiler : public FramePassObserver {
 public:
  FrameProfiler() = default;
  ~FrameProfiler() override;
  FrameProfiler(const FrameProfiler&) = delete;
  FrameProfiler& operator=(const FrameProfiler&) = delete;

  void PassBegin(FramePass pass, int index) override;
  void PassEnd() override;

  // Starts a frame: what follows until EndCompose is composition.
  void BeginCompose();
  void EndCompose();
  void BeginReadBack();
  void EndReadBack();
  // The frame's costs, once EndReadBack has been called.
  const FrameCosts& Costs() const { return mCosts; }
  // Whether vertices and fragments are counted.
  static bool CountsShading();

 private:
  struct Mark {
    double wallMs;
    double cpuMs;
  };
  static Mark Now();
  // Adds the time since `since` to kind and returns it.
  Mark Charge(FrameCost kind, const Mark& since);

  void BeginCounting();
  // The pass's draws, vertices and fragments, charged to its kind.
  void EndCounting();
  // The scene line's or post-effect entry's own costs, null for other passes.
  CostTimes* OwnCosts();

  FrameCosts mCosts;
  FrameCost mPassKind = FrameCost::Other;
  int mPassIndex = 0;  // the line or the entry
  Mark mPassStart{};
  uint64_t mDrawsAtStart = 0;
  // Vertices submitted and fragment shader invocations of the pass.
  unsigned mShadingQueries[2] = {0, 0};
  Mark mComposeStart{};
  Mark mReadBackStart{};
  GpuPassTimer mGpu;
};
