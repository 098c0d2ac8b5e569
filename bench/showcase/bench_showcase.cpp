// Frame time of the showcase at 1280 × 720 with FSAA 0 and 4, over the whole piece: the engine
// (HeadlessDemo: the real start-up and frame composition into an off-screen target, read back)
// composes twelve frames evenly spread over each section, each section's frames timed in turn.
// Counters: the median frame over the whole piece, each section's median, and the slowest
// section's median. The hand-written plain-GL yardstick of bench_frame draws only the test
// production; the showcase's chain of scenes and effects is not written out by hand.
//
//   cmake --build build --target bench_showcase
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/showcase/bench_showcase
// TORVANE_PACK overrides the pack (default: the build's production/torvane.pak).
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "content/showcase/generators/timeline.h"
#include "demo/headless_demo.h"

namespace {

constexpr int WIDTH = 1280;
constexpr int HEIGHT = 720;
constexpr int FRAMES_PER_SECTION = 12;

std::string PackPath() {
  const char* path = std::getenv("TORVANE_PACK");
  return path && path[0] ? path : TORVANE_SHOWCASE_PACK;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Sample {
  size_t section;
  uint32_t time;
};

std::vector<Sample> Samples() {
  std::vector<Sample> samples;
  const std::vector<Section>& sections = ShowcaseSections();
  for (size_t s = 0; s < sections.size(); ++s) {
    uint32_t start = BarMs(sections[s].firstBar), end = BarMs(sections[s].EndBar());
    for (int i = 0; i < FRAMES_PER_SECTION; ++i) {
      samples.push_back({s, start + static_cast<uint32_t>((end - start) * (i + 0.5) / FRAMES_PER_SECTION)});
    }
  }
  return samples;
}

void BM_ShowcaseFrame(benchmark::State& state) {
  HeadlessDemo demo;
  HeadlessOptions options;
  options.packPath = PackPath();
  options.frame.width = WIDTH;
  options.frame.height = HEIGHT;
  options.frame.fsaaLevel = static_cast<int>(state.range(0));
  std::string error;
  if (!demo.Start(options, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  const std::vector<Sample> samples = Samples();
  for (const Sample& sample : samples) benchmark::DoNotOptimize(demo.RenderFrame(sample.time).data());
  std::vector<std::vector<double>> perSection(ShowcaseSections().size());
  std::vector<double> all;
  size_t next = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    std::vector<uint8_t> pixels = demo.RenderFrame(samples[next].time);
    benchmark::DoNotOptimize(pixels.data());
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    perSection[samples[next].section].push_back(ms);
    all.push_back(ms);
    next = (next + 1) % samples.size();
  }
  double worst = 0.0;
  for (size_t s = 0; s < perSection.size(); ++s) {
    double median = Median(perSection[s]);
    state.counters[std::string(ShowcaseSections()[s].name) + "_ms"] = median;
    worst = std::max(worst, median);
  }
  state.counters["median_ms"] = Median(all);
  state.counters["worst_section_ms"] = worst;
}

}  // namespace

BENCHMARK(BM_ShowcaseFrame)
    ->Arg(0)
    ->Arg(4)
    ->Iterations(static_cast<benchmark::IterationCount>(Samples().size()))
    ->Unit(benchmark::kMillisecond);
