// Capture throughput at 1280 × 720 with FSAA 0 and 4, to H.264 and to FFV1 (with the music),
// beside what `torvane-tool render` does per frame without writing PNGs: compose and read back
// at once. Both cover the same frames: the production's eight seconds at 15 fps (120 frames),
// composed in order on one started demo; start-up is outside the timing. The goal is a capture
// rate of at least 0.9 of the render rate ("of_render"): encoding hidden behind composing.
// Elapsed time moves with a shared machine's load; "cpu_ms" (the CPU time of the whole process
// per frame: the GL thread, Mesa's rasterizer threads, the encoding thread and the encoder's own)
// moves far less, and "cpu_of_render" is that of the capture over that of the render.
//
// Run under a display, from the build folder (docs/benchmarks.md):
//   cmake --build build --target bench_capture
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/capture/bench_capture
// TORVANE_PACK and TORVANE_MUSIC override the production.
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <string>

#include <benchmark/benchmark.h>

#include "demo/fixed_step_demo_clock.h"
#include "demo/headless_demo.h"
#include "tools/capture/capture_timing.h"
#include "tools/capture/decoded_music.h"
#include "tools/capture/ffmpeg_error.h"
#include "tools/capture/frame_loop.h"
#include "tools/capture/video_file_sink.h"

namespace {

constexpr int WIDTH = 1280;
constexpr int HEIGHT = 720;
constexpr uint32_t FPS = 15;

std::string FromEnvironment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value && value[0] ? value : fallback;
}

struct RenderFigures {
  double rate = 0;   // frames per second
  double cpuMs = 0;  // process CPU time per frame
};

// The render baseline's figures, per FSAA level.
std::map<int64_t, RenderFigures> gRender;

double ProcessCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Elapsed and CPU time of a piece of work.
class Stopwatch {
 public:
  Stopwatch() : mStart(std::chrono::steady_clock::now()), mCpuStart(ProcessCpuMs()) {}
  double Seconds() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - mStart).count(); }
  double CpuMs() const { return ProcessCpuMs() - mCpuStart; }

 private:
  std::chrono::steady_clock::time_point mStart;
  double mCpuStart;
};

// The music and a started demo at the benchmark's FSAA level; false (the benchmark skipped) when
// either fails.
bool Prepare(benchmark::State& state, tools::DecodedMusic& music, HeadlessDemo& demo) {
  QuietFfmpegLog();
  std::string error;
  if (!tools::DecodeMusic(FromEnvironment("TORVANE_MUSIC", TORVANE_PRODUCTION_MUSIC), music, error)) {
    state.SkipWithError(error.c_str());
    return false;
  }
  HeadlessOptions options;
  options.packPath = FromEnvironment("TORVANE_PACK", TORVANE_PRODUCTION_PACK);
  options.frame.width = WIDTH;
  options.frame.height = HEIGHT;
  options.frame.fsaaLevel = static_cast<int>(state.range(0));
  options.readBackDepth = CAPTURE_READ_BACK_DEPTH;
  bool started = demo.Start(options, error);
  if (!started) state.SkipWithError(error.c_str());
  return started;
}

FrameRange WholeRange(const tools::DecodedMusic& music) { return {0, FrameCountForMusic(music.Length(), music.sampleRate, FPS)}; }

RenderFigures Report(benchmark::State& state, int64_t frames, const Stopwatch& watch) {
  double seconds = watch.Seconds();
  RenderFigures figures{static_cast<double>(frames) / seconds, watch.CpuMs() / static_cast<double>(frames)};
  state.SetIterationTime(seconds);
  state.counters["frames"] = static_cast<double>(frames);
  state.counters["fps"] = figures.rate;
  state.counters["cpu_ms"] = figures.cpuMs;
  return figures;
}

void BM_RenderFrames(benchmark::State& state) {
  tools::DecodedMusic music;
  HeadlessDemo demo;
  if (!Prepare(state, music, demo)) return;
  FrameRange range = WholeRange(music);
  for (auto _ : state) {
    Stopwatch watch;
    for (int64_t n = range.first; n < range.end; ++n) benchmark::DoNotOptimize(demo.RenderFrame(FrameTimeMs(n, FPS)).data());
    gRender[state.range(0)] = Report(state, range.Count(), watch);
  }
}

void BM_CaptureFrames(benchmark::State& state) {
  tools::DecodedMusic music;
  HeadlessDemo demo;
  if (!Prepare(state, music, demo)) return;
  std::string error;
  FrameRange range = WholeRange(music);
  VideoCodec codec = state.range(1) ? VideoCodec::Ffv1 : VideoCodec::H264;
  std::string path = "/tmp/torvane-bench-capture-" + std::to_string(getpid()) + (state.range(1) ? ".mkv" : ".mp4");
  for (auto _ : state) {
    VideoTrackSettings video;
    video.width = WIDTH;
    video.height = HEIGHT;
    video.fps = FPS;
    video.codec = codec;
    SoundSlice sound{music.samples.data(), music.channels, music.sampleRate, 0, music.Length()};
    VideoFileSink sink;
    if (!sink.Open(path, path, video, codec == VideoCodec::Ffv1 ? AudioCodec::Flac : AudioCodec::Aac, sound, error)) {
      state.SkipWithError(error.c_str());
      break;
    }
    Stopwatch watch;
    ProgressLine progress(stderr, ProgressStyle::Hidden);
    EncodeWorker worker(sink, CAPTURE_QUEUE_FRAMES);
    FrameLoop loop(demo, worker, FPS);
    bool captured = loop.Run(range, progress) && worker.Finish(error);
    if (!captured) state.SkipWithError(error.c_str());
    RenderFigures figures = Report(state, range.Count(), watch);
    auto render = gRender.find(state.range(0));
    if (render != gRender.end()) {
      state.counters["of_render"] = figures.rate / render->second.rate;
      state.counters["cpu_of_render"] = figures.cpuMs / render->second.cpuMs;
    }
  }
  std::remove(path.c_str());
}

}  // namespace

BENCHMARK(BM_RenderFrames)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CaptureFrames)->Args({0, 0})->Args({0, 1})->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RenderFrames)->Arg(4)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CaptureFrames)->Args({4, 0})->Args({4, 1})->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
