// Frame time of the showcase at 1280 × 720 with FSAA 0 and 4, over the whole piece: the engine
// (HeadlessDemo: the real start-up and frame composition into an off-screen target, read back)
// composes twelve frames evenly spread over each section, each section's frames timed in turn.
// Counters: the median frame over the whole piece, each section's median, and the slowest
// section's median, in elapsed and in CPU time (every thread of the process: on a software
// rasterizer the frame's cost, which moves far less with the load of other processes).
//
// BM_ShowcaseProfile/SECTION splits the same frames of one section (FSAA 0) by kind: scene lines,
// post-effects, the final screen, the composition's own work between them ("other") and the
// read-back, each in CPU time per frame (_ms), with the pass inventory and the frame's cost in
// full-screen-pass equivalents (one RGBA16F copy pass, as bench_frame); gpu_*_ms where the driver
// times passes (GL_ARB_timer_query); the scene lines' draw calls, vertices and fragments, in all and
// line by line; and each post-effect's own time. The hand-written plain-GL yardstick of bench_frame draws only the test
// production; the showcase's chain of scenes and effects is not written out by hand.
//
//   cmake --build build --target bench_showcase
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/showcase/bench_showcase
// TORVANE_PACK overrides the pack (default: the build's production/torvane.pak).
#include <algorithm>
#include <chrono>
#include <map>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/frame/copy_pass.h"
#include "bench/showcase/frame_profile.h"
#include "content/showcase/generators/timeline.h"
#include "demo/demo_manager.h"
#include "demo/headless_demo.h"
#include "resources/post_effect_manager.h"
#include "render/pixel_readback.h"

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

bool StartShowcase(HeadlessDemo& demo, benchmark::State& state, int fsaaLevel) {
  HeadlessOptions options;
  options.packPath = PackPath();
  options.frame.width = WIDTH;
  options.frame.height = HEIGHT;
  options.frame.fsaaLevel = fsaaLevel;
  std::string error;
  if (demo.Start(options, error)) return true;
  state.SkipWithError(error.c_str());
  return false;
}

// Per-section medians and the median over every frame, as name_ms and name_cpu_ms.
struct FrameTimes {
  std::vector<std::vector<double>> wall = std::vector<std::vector<double>>(ShowcaseSections().size());
  std::vector<std::vector<double>> cpu = std::vector<std::vector<double>>(ShowcaseSections().size());

  void Report(benchmark::State& state) const {
    std::vector<double> allWall, allCpu;
    double worstWall = 0.0, worstCpu = 0.0;
    for (size_t s = 0; s < wall.size(); ++s) {
      const std::string name = ShowcaseSections()[s].name;
      state.counters[name + "_ms"] = Median(wall[s]);
      state.counters[name + "_cpu_ms"] = Median(cpu[s]);
      worstWall = std::max(worstWall, Median(wall[s]));
      worstCpu = std::max(worstCpu, Median(cpu[s]));
      allWall.insert(allWall.end(), wall[s].begin(), wall[s].end());
      allCpu.insert(allCpu.end(), cpu[s].begin(), cpu[s].end());
    }
    state.counters["median_ms"] = Median(allWall);
    state.counters["median_cpu_ms"] = Median(allCpu);
    state.counters["worst_section_ms"] = worstWall;
    state.counters["worst_section_cpu_ms"] = worstCpu;
  }
};

// One started showcase for every section's profile (starting it costs seconds), stopped after the
// last section, when another benchmark starts the engine, or at exit when a filter left the last
// section out (ahead of the managers' own destruction).
std::unique_ptr<HeadlessDemo> gProfiled;

void BM_ShowcaseFrame(benchmark::State& state) {
  gProfiled.reset();
  HeadlessDemo demo;
  if (!StartShowcase(demo, state, static_cast<int>(state.range(0)))) return;
  const std::vector<Sample> samples = Samples();
  for (const Sample& sample : samples) benchmark::DoNotOptimize(demo.RenderFrame(sample.time).data());
  FrameTimes times;
  size_t next = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuMilliseconds();
    std::vector<uint8_t> pixels = demo.RenderFrame(samples[next].time);
    benchmark::DoNotOptimize(pixels.data());
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    times.wall[samples[next].section].push_back(ms);
    times.cpu[samples[next].section].push_back(ProcessCpuMilliseconds() - cpuStart);
    next = (next + 1) % samples.size();
  }
  times.Report(state);
}

HeadlessDemo* ProfiledShowcase(benchmark::State& state) {
  if (!gProfiled) {
    gProfiled = std::make_unique<HeadlessDemo>();
    if (!StartShowcase(*gProfiled, state, 0)) {
      gProfiled.reset();
      return nullptr;
    }
    // Registered once the engine's own statics exist, so that it runs before they are destroyed.
    static const bool stopAtExit = std::atexit([] { gProfiled.reset(); }) == 0;
    (void)stopAtExit;
  }
  return gProfiled.get();
}

const char* CostName(FrameCost kind) {
  switch (kind) {
    case FrameCost::Scene: return "scene";
    case FrameCost::PostEffect: return "post";
    case FrameCost::FinalScreen: return "final";
    case FrameCost::Other: return "other";
    case FrameCost::ReadBack: return "readback";
    case FrameCost::Count: break;
  }
  return "";
}

// "bloom_0" for pass 0 of "data\\shader\\bloom.cgfx", "grade" for every pass of the grade.
std::string PostEffectLabel(int entry) {
  const PostEffectEntry& definition = gPostEffectManager.Entry(static_cast<size_t>(entry));
  std::string name = definition.shader.substr(definition.shader.find_last_of("\\/") + 1);
  name = name.substr(0, name.find('.'));
  if (definition.execPass != POST_EFFECT_ALL_PASSES) name += "_" + std::to_string(definition.execPass);
  return name;
}

void ReportCosts(benchmark::State& state, const FrameCosts& total, const PassInventory& passes) {
  const double n = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
  double cpuTotal = 0.0;
  for (size_t k = 0; k < total.kinds.size(); ++k) {
    const FrameCost kind = static_cast<FrameCost>(k);
    const std::string name = CostName(kind);
    state.counters[name + "_ms"] = total.kinds[k].cpuMs / n;
    if (GpuPassTimer::Available() && kind != FrameCost::Other && kind != FrameCost::ReadBack) {
      state.counters["gpu_" + name + "_ms"] = total.kinds[k].gpuMs / n;
    }
    cpuTotal += total.kinds[k].cpuMs;
  }
  state.counters["scene_draws"] = total[FrameCost::Scene].draws / n;
  if (FrameProfiler::CountsShading()) {
    state.counters["scene_kvertices"] = total[FrameCost::Scene].vertices / n / 1e3;
    state.counters["scene_mfragments"] = total[FrameCost::Scene].fragments / n / 1e6;
    state.counters["post_mfragments"] = total[FrameCost::PostEffect].fragments / n / 1e6;
  }
  for (const auto& [line, costs] : total.lines) {
    const std::string name = "line" + std::to_string(line);
    state.counters[name + "_ms"] = costs.cpuMs / n;
    state.counters[name + "_draws"] = costs.draws / n;
    if (FrameProfiler::CountsShading()) state.counters[name + "_kvertices"] = costs.vertices / n / 1e3;
    if (FrameProfiler::CountsShading()) state.counters[name + "_mfragments"] = costs.fragments / n / 1e6;
  }
  std::map<std::string, double> byEffect;
  for (const auto& [entry, costs] : total.postEffects) byEffect[PostEffectLabel(entry)] += costs.cpuMs;
  for (const auto& [label, cpuMs] : byEffect) state.counters["post_" + label + "_ms"] = cpuMs / n;
  state.counters["scene_passes"] = passes.scenePasses / n;
  state.counters["post_passes"] = passes.postEffectPasses / n;
  state.counters["final_passes"] = passes.finalPasses / n;
  const CopyPassCost copy = MeasureCopyPass(WIDTH, HEIGHT);
  if (copy.cpuMs > 0) state.counters["pass_equivalents"] = cpuTotal / n / copy.cpuMs;
}

void BM_ShowcaseProfile(benchmark::State& state) {
  const size_t section = static_cast<size_t>(state.range(0));
  HeadlessDemo* demo = ProfiledShowcase(state);
  if (!demo) return;
  std::vector<uint32_t> times;
  for (const Sample& sample : Samples()) {
    if (sample.section == section) times.push_back(sample.time);
  }
  for (uint32_t t : times) benchmark::DoNotOptimize(demo->RenderFrame(t).data());
  FrameProfiler profiler;
  gDemoManager.Composer().SetPassObserver(&profiler);
  FrameCosts total;
  PassInventory passes;
  size_t next = 0;
  for (auto _ : state) {
    profiler.BeginCompose();
    demo->ComposeFrame(times[next]);
    profiler.EndCompose();
    profiler.BeginReadBack();
    benchmark::DoNotOptimize(ReadPixelsTopFirst(WIDTH, HEIGHT).data());
    profiler.EndReadBack();
    total += profiler.Costs();
    const PassInventory& frame = gDemoManager.Composer().LastInventory();
    passes.scenePasses += frame.scenePasses;
    passes.postEffectPasses += frame.postEffectPasses;
    passes.finalPasses += frame.finalPasses;
    next = (next + 1) % times.size();
  }
  gDemoManager.Composer().SetPassObserver(nullptr);
  ReportCosts(state, total, passes);
  if (section + 1 == ShowcaseSections().size()) gProfiled.reset();
}

const bool PROFILES_REGISTERED = [] {
  for (size_t s = 0; s < ShowcaseSections().size(); ++s) {
    benchmark::RegisterBenchmark((std::string("BM_ShowcaseProfile/") + ShowcaseSections()[s].name).c_str(), BM_ShowcaseProfile)
        ->Arg(static_cast<int64_t>(s))
        ->Iterations(FRAMES_PER_SECTION)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime();
  }
  return true;
}();

}  // namespace

BENCHMARK(BM_ShowcaseFrame)
    ->Arg(0)
    ->Arg(4)
    ->Iterations(static_cast<benchmark::IterationCount>(Samples().size()))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
