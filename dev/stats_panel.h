#pragma once
// Frame statistics: the processing time of recent frames as a graph, and each pass's GPU time.

#include <array>
#include <cstddef>

#include "render/gpu_pass_timer.h"

inline constexpr size_t STATS_FRAMES = 240;

class StatsPanel {
 public:
  void AddFrame(float frameMs);
  void Draw(const GpuPassTimer& timer);

  // Mean, least and most of the frames kept; 0 without frames.
  float MeanMs() const;
  float LeastMs() const;
  float MostMs() const;

 private:
  std::array<float, STATS_FRAMES> mTimes{};
  size_t mCount = 0;
  size_t mNext = 0;
};
