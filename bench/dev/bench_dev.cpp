// The developer mode on the test production at 1280 × 720, FSAA 0, in one window:
//   BM_PlayerFrame: the player's frame, composed straight into the window and swapped (what the
//     playing state of demoManager does each frame);
//   BM_DevFrameInterfaceHidden: one turn of the developer mode's loop with the interface hidden
//     (events, control socket, watcher, transport, the frame);
//   BM_DevFrameInterfaceShown: the same with the interface drawn and the passes timed;
//   BM_Reload/...: a reload of one texture, one effect and the whole timeline (the scene line
//     definitions), from the content folder.
// All frames cycle through the same demo times. Goal: BM_DevFrameInterfaceHidden within 1.05 ×
// BM_PlayerFrame. Run under a display (docs/benchmarks.md):
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/dev/bench_dev
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "demo/demo_manager.h"
#include "dev/dev_session.h"
#include "render/renderer_manager.h"

namespace {

constexpr uint32_t MUSIC_MS = 8000;
constexpr uint32_t TIME_STEP_MS = 250;

DevSession* gSession = nullptr;

DevSession& Session() {
  if (!gSession) {
    gSession = new DevSession;
    DevOptions options;
    std::string error;
    std::vector<std::string> args = {"--pack", TORVANE_PRODUCTION_PACK, "--content", TORVANE_PRODUCTION_CONTENT,
                                     "--size", "1280x720"};
    if (!ParseDevOptions(args, options, error) || !gSession->Start(options, error)) {
      std::fprintf(stderr, "bench_dev: %s\n", error.c_str());
      std::exit(1);
    }
  }
  return *gSession;
}

uint32_t NextTime(uint32_t& t) {
  uint32_t now = t;
  t = (t + TIME_STEP_MS) % MUSIC_MS;
  return now;
}

void BM_PlayerFrame(benchmark::State& state) {
  Session();
  FrameComposer& composer = gDemoManager.Composer();
  GLuint devOutput = composer.OutputFramebuffer();
  composer.SetOutputFramebuffer(0);
  uint32_t t = 0;
  for (auto _ : state) {
    gDemoManager.ComposeFrameAt(NextTime(t));
    gRendererManager.FrameUpdate();
    gRendererManager.FrameEnd();
  }
  glFinish();
  composer.SetOutputFramebuffer(devOutput);
}

void DevFrames(benchmark::State& state, bool interfaceShown) {
  DevSession& session = Session();
  session.SetInterfaceShown(interfaceShown);
  uint32_t t = 0;
  for (auto _ : state) {
    session.GetTransport().Seek(NextTime(t));
    session.Step();
  }
  glFinish();
}

void BM_DevFrameInterfaceHidden(benchmark::State& state) { DevFrames(state, false); }
void BM_DevFrameInterfaceShown(benchmark::State& state) { DevFrames(state, true); }

void BM_Reload(benchmark::State& state, const char* name) {
  DevSession& session = Session();
  for (auto _ : state) {
    ReloadReport report;
    std::string error;
    if (!session.Reload(name, report, error) || report.reloaded.empty() || !report.errors.empty()) {
      state.SkipWithError(error.empty() ? "nothing was reloaded" : error.c_str());
      break;
    }
    glFinish();
  }
}

BENCHMARK(BM_PlayerFrame)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_DevFrameInterfaceHidden)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_DevFrameInterfaceShown)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK_CAPTURE(BM_Reload, texture, "data\\texture\\sky.png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Reload, effect, "data\\shader\\glowComposite.cgfx")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Reload, timeline, "data\\definition\\sceneLineDefine.xml")->Unit(benchmark::kMillisecond);

}  // namespace
