// Frame time of the test production at 1280 × 720, with FSAA 0 and 4: the engine (HeadlessDemo,
// the real start-up and frame composition) beside PlainFrame, a hand-written plain-GL program
// drawing the same buffers and passes with the GLSL of the same effect files. Both compose into
// an off-screen target and read the frame back, and both cycle through the same demo times over
// the production's eight seconds. Also the engine's start-up: HeadlessDemo::Start (GL context,
// pack, managers, loading every resource of the timeline) plus the first composed frame.
//
// Run under a display, from the build folder (docs/benchmarks.md):
//   cmake --build build --target bench_frame
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/frame/bench_frame
// TORVANE_PACK overrides the pack (default: the build's test-production/torvane.pak).
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/frame/plain_frame.h"
#include "demo/headless_demo.h"

namespace {

constexpr int WIDTH = 1280;
constexpr int HEIGHT = 720;
constexpr uint32_t MUSIC_MS = 8000;
constexpr uint32_t TIME_STEP_MS = 250;

std::string PackPath() {
  const char* path = std::getenv("TORVANE_PACK");
  return path && path[0] ? path : TORVANE_PRODUCTION_PACK;
}

std::vector<uint32_t> DemoTimes() {
  std::vector<uint32_t> times;
  for (uint32_t t = 0; t < MUSIC_MS; t += TIME_STEP_MS) times.push_back(t);
  return times;
}

using FrameSet = std::vector<std::vector<uint8_t>>;

// The engine's frames at every demo time, per FSAA level: the plain frame is checked against them.
std::map<int64_t, FrameSet> gEngineFrames;

// Mean absolute difference per colour byte between two sets of frames; -1 when they differ in size.
double MeanDifference(const FrameSet& a, const FrameSet& b) {
  if (a.size() != b.size()) return -1.0;
  double sum = 0.0;
  size_t count = 0;
  for (size_t f = 0; f < a.size(); ++f) {
    if (a[f].size() != b[f].size()) return -1.0;
    for (size_t i = 0; i < a[f].size(); ++i) sum += std::abs(a[f][i] - b[f][i]);
    count += a[f].size();
  }
  return count ? sum / static_cast<double>(count) : 0.0;
}

// Renders every demo time once (first uses compile and upload lazily in drivers) and returns
// those frames, then times frames at the demo times in turn.
template <class Frames>
FrameSet TimeFrames(benchmark::State& state, Frames& frames) {
  const std::vector<uint32_t> times = DemoTimes();
  FrameSet firstFrames;
  for (uint32_t t : times) firstFrames.push_back(frames.RenderFrame(t));
  size_t next = 0;
  for (auto _ : state) {
    std::vector<uint8_t> pixels = frames.RenderFrame(times[next]);
    benchmark::DoNotOptimize(pixels.data());
    next = (next + 1) % times.size();
  }
  state.SetItemsProcessed(state.iterations());
  return firstFrames;
}

HeadlessOptions EngineOptions(int fsaa) {
  HeadlessOptions options;
  options.packPath = PackPath();
  options.frame.width = WIDTH;
  options.frame.height = HEIGHT;
  options.frame.fsaaLevel = fsaa;
  return options;
}

void BM_EngineFrame(benchmark::State& state) {
  HeadlessDemo demo;
  std::string error;
  if (!demo.Start(EngineOptions(static_cast<int>(state.range(0))), error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  gEngineFrames[state.range(0)] = TimeFrames(state, demo);
}

void BM_PlainFrame(benchmark::State& state) {
  PlainFrame plain;
  PlainFrameOptions options;
  options.packPath = PackPath();
  options.width = WIDTH;
  options.height = HEIGHT;
  options.fsaaLevel = static_cast<int>(state.range(0));
  std::string error;
  if (!plain.Start(options, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  FrameSet frames = TimeFrames(state, plain);
  // The yardstick is only fair if it draws the same pictures: 0 means identical frames.
  auto engine = gEngineFrames.find(state.range(0));
  if (engine != gEngineFrames.end()) state.counters["diff_from_engine"] = MeanDifference(frames, engine->second);
}

void BM_EngineStartToFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    HeadlessDemo demo;
    std::string error;
    if (!demo.Start(EngineOptions(static_cast<int>(state.range(0))), error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    benchmark::DoNotOptimize(demo.RenderFrame(0).data());
    demo.Stop();
  }
}

}  // namespace

BENCHMARK(BM_EngineFrame)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_PlainFrame)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_EngineFrame)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_PlainFrame)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_EngineStartToFirstFrame)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
