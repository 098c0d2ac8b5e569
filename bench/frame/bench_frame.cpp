// Frame time of the test production at 1280 × 720 and 1920 × 1080 with FSAA 0, 4 and 8, three
// ways side by side in one run (Time is the elapsed time per frame, CPU the CPU time of every
// thread of the process per frame, which on a software rasterizer is the frame's cost and moves
// far less with the load of other processes):
//   BM_EngineFrame/W/H/N           the engine (HeadlessDemo: the real start-up and frame
//                                  composition, drawing only what can change a pixel);
//   BM_EngineFrameEveryPass/W/H/N  the same engine with FrameConfig::everyPass, every buffer,
//                                  pass and clear of the plain sequence: the frame as it was
//                                  drawn before the shortcuts;
//   BM_PlainFrame/W/H/N            PlainFrame, a hand-written plain-GL program drawing the same
//                                  reduced passes with the GLSL of the same effect files.
// All compose into an off-screen target, read the frame back, and time one frame at each of 32
// demo times spread evenly over the production (every 250 ms of the test production's eight
// seconds): the timed frames are the whole production, whatever the machine's speed. Counters:
//   pass_equivalents  a frame's CPU time over that of one full-screen RGBA16F copy pass at the
//                     same size (copy_pass_ms: its elapsed time), measured on the same context
//                     right after the frames;
//   scene_passes, supersample_passes, post_effect_passes, final_passes, output_clears
//                     the engine's pass inventory, per frame on average over the timed frames;
//   buffer_MiB        the GL storage of the composition's screen buffers;
//   diff_from_engine  mean difference per colour byte from the engine's frames (0 to 255): 0
//                     means the same pictures, which keeps the comparison fair.
// Also the engine's start-up: HeadlessDemo::Start (GL context, pack, managers, loading every
// resource of the timeline) plus the first composed frame.
//
// Run under a display, from the build folder (docs/benchmarks.md):
//   cmake --build build --target bench_frame
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/frame/bench_frame
// TORVANE_PACK overrides the pack (default: the build's test-production/torvane.pak).
#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/frame/copy_pass.h"
#include "bench/frame/plain_frame.h"
#include "demo/demo_manager.h"
#include "demo/headless_demo.h"

namespace {

// The test production's length; the plain frame knows no other production.
constexpr uint32_t TEST_PRODUCTION_MS = 8000;
constexpr uint32_t FRAMES_PER_CYCLE = 32;
constexpr double MIB = 1024.0 * 1024.0;

std::string PackPath() {
  const char* path = std::getenv("TORVANE_PACK");
  return path && path[0] ? path : TORVANE_PRODUCTION_PACK;
}

// FRAMES_PER_CYCLE demo times spread evenly from 0 over a production of lengthMs.
std::vector<uint32_t> DemoTimes(uint32_t lengthMs) {
  std::vector<uint32_t> times;
  for (uint32_t i = 0; i < FRAMES_PER_CYCLE; ++i) {
    times.push_back(static_cast<uint32_t>(uint64_t{lengthMs} * i / FRAMES_PER_CYCLE));
  }
  return times;
}

// The started demo's length: the end of its last scene line.
uint32_t StartedDemoLength() {
  uint32_t length = 0;
  for (const SceneLineEntry& line : gDemoManager.SceneLines()) length = std::max(length, line.endTime);
  return length;
}

using FrameSet = std::vector<std::vector<uint8_t>>;
using Setting = std::tuple<int64_t, int64_t, int64_t>;  // width, height, FSAA level

Setting SettingOf(const benchmark::State& state) { return {state.range(0), state.range(1), state.range(2)}; }

// The engine's frames at every demo time, per setting: the other two are checked against them.
std::map<Setting, FrameSet> gEngineFrames;

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

void ReportDifferenceFromEngine(benchmark::State& state, const FrameSet& frames) {
  auto engine = gEngineFrames.find(SettingOf(state));
  if (engine != gEngineFrames.end()) state.counters["diff_from_engine"] = MeanDifference(frames, engine->second);
}

// Sums the engine's pass inventory over the frames it draws.
struct InventoryTotal {
  double scene = 0, supersample = 0, postEffect = 0, final = 0, clears = 0;
  void Add(const PassInventory& frame) {
    scene += frame.scenePasses;
    supersample += frame.supersamplePasses;
    postEffect += frame.postEffectPasses;
    final += frame.finalPasses;
    clears += frame.outputClears;
  }
};

struct TimedFrames {
  FrameSet firstFrames;  // one per demo time, drawn before timing
  double cpuMs = 0;      // CPU time of the whole process over the timed frames together
};

// Renders every demo time once (first uses compile and upload lazily in drivers) and keeps those
// frames, then times frames at the demo times in turn, one per iteration; afterFrame sees every
// timed frame.
template <class Frames, class AfterFrame>
TimedFrames TimeFrames(benchmark::State& state, Frames& frames, uint32_t lengthMs, AfterFrame afterFrame) {
  const std::vector<uint32_t> times = DemoTimes(lengthMs);
  TimedFrames result;
  for (uint32_t t : times) result.firstFrames.push_back(frames.RenderFrame(t));
  size_t next = 0;
  const double cpuStart = ProcessCpuMilliseconds();
  for (auto _ : state) {
    std::vector<uint8_t> pixels = frames.RenderFrame(times[next]);
    benchmark::DoNotOptimize(pixels.data());
    afterFrame();
    next = (next + 1) % times.size();
  }
  result.cpuMs = ProcessCpuMilliseconds() - cpuStart;
  state.SetItemsProcessed(state.iterations());
  return result;
}

// A frame's CPU time in copy passes, measured on the frames' own context.
void ReportPassEquivalents(benchmark::State& state, const TimedFrames& timed, int width, int height) {
  const CopyPassCost copy = MeasureCopyPass(width, height);
  state.counters["copy_pass_ms"] = copy.wallMs;
  if (state.iterations() > 0 && copy.cpuMs > 0) {
    state.counters["pass_equivalents"] = timed.cpuMs / static_cast<double>(state.iterations()) / copy.cpuMs;
  }
}

HeadlessOptions EngineOptions(const benchmark::State& state, bool everyPass) {
  HeadlessOptions options;
  options.packPath = PackPath();
  options.frame.width = static_cast<int>(state.range(0));
  options.frame.height = static_cast<int>(state.range(1));
  options.frame.fsaaLevel = static_cast<int>(state.range(2));
  options.frame.everyPass = everyPass;
  return options;
}

void EngineFrames(benchmark::State& state, bool everyPass) {
  HeadlessDemo demo;
  std::string error;
  if (!demo.Start(EngineOptions(state, everyPass), error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  InventoryTotal total;
  TimedFrames timed = TimeFrames(state, demo, StartedDemoLength(), [&] { total.Add(gDemoManager.Composer().LastInventory()); });
  const double n = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
  state.counters["scene_passes"] = total.scene / n;
  state.counters["supersample_passes"] = total.supersample / n;
  state.counters["post_effect_passes"] = total.postEffect / n;
  state.counters["final_passes"] = total.final / n;
  state.counters["output_clears"] = total.clears / n;
  state.counters["buffer_MiB"] = static_cast<double>(gDemoManager.Composer().ScreenBufferBytes()) / MIB;
  ReportPassEquivalents(state, timed, demo.Width(), demo.Height());
  if (everyPass) {
    ReportDifferenceFromEngine(state, timed.firstFrames);
  } else {
    gEngineFrames[SettingOf(state)] = std::move(timed.firstFrames);
  }
}

void BM_EngineFrame(benchmark::State& state) { EngineFrames(state, false); }

void BM_EngineFrameEveryPass(benchmark::State& state) { EngineFrames(state, true); }

void BM_PlainFrame(benchmark::State& state) {
  PlainFrame plain;
  PlainFrameOptions options;
  options.packPath = PackPath();
  options.width = static_cast<int>(state.range(0));
  options.height = static_cast<int>(state.range(1));
  options.fsaaLevel = static_cast<int>(state.range(2));
  std::string error;
  if (!plain.Start(options, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  const TimedFrames timed = TimeFrames(state, plain, TEST_PRODUCTION_MS, [] {});
  ReportPassEquivalents(state, timed, options.width, options.height);
  ReportDifferenceFromEngine(state, timed.firstFrames);
}

void BM_EngineStartToFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    HeadlessDemo demo;
    std::string error;
    if (!demo.Start(EngineOptions(state, false), error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    benchmark::DoNotOptimize(demo.RenderFrame(0).data());
    demo.Stop();
  }
}

// Per setting the engine first (the other two compare their frames with its frames), then the
// every-pass engine and the plain frame right after it, so that all three meet the same load.
const bool REGISTERED = [] {
  for (const auto& [width, height] : {std::pair{1280, 720}, std::pair{1920, 1080}}) {
    for (int fsaa : {0, 4, 8}) {
      using Function = void (*)(benchmark::State&);
      for (const auto& [name, function] : {std::pair<const char*, Function>{"BM_EngineFrame", BM_EngineFrame},
                                           std::pair<const char*, Function>{"BM_EngineFrameEveryPass", BM_EngineFrameEveryPass},
                                           std::pair<const char*, Function>{"BM_PlainFrame", BM_PlainFrame}}) {
        benchmark::RegisterBenchmark(name, function)
            ->Args({width, height, fsaa})
            ->ArgNames({"w", "h", "fsaa"})
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MeasureProcessCPUTime()
            ->Iterations(FRAMES_PER_CYCLE);
      }
    }
  }
  return true;
}();

}  // namespace

BENCHMARK(BM_EngineStartToFirstFrame)
    ->Args({1280, 720, 0})
    ->Args({1280, 720, 4})
    ->ArgNames({"w", "h", "fsaa"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
