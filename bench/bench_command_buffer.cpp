// Recording into the render command buffer: a pointer bump and a constructor per command, so a
// frame's worth of recording costs next to nothing. Replay needs a GL context and is not timed.
#include <benchmark/benchmark.h>

#include "demo/escape_fade_overlay.h"
#include "render/intermediate_command.h"

namespace {

void BM_RecordFadeAndReset(benchmark::State& state) {
  gIntermediateCommand.Initialize();
  for (auto _ : state) {
    RecordEscapeFadeOverlay(0.5f);
    benchmark::DoNotOptimize(gIntermediateCommand.commandCount(DRAW_LIST));
    gIntermediateCommand.reset();
  }
  gIntermediateCommand.Terminate();
  state.SetItemsProcessed(state.iterations() * 15);
}
BENCHMARK(BM_RecordFadeAndReset);

// Thousands of quads in one frame, as a particle-heavy recorder would make.
void BM_RecordManyQuads(benchmark::State& state) {
  gIntermediateCommand.Initialize();
  const int quads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    gIntermediateCommand.beginDraw();
    for (int i = 0; i < quads; ++i) {
      gIntermediateCommand.changeMaterial(gIntermediateCommand.newMaterial());
      gIntermediateCommand.translate(static_cast<float>(i), 0, 0);
      gIntermediateCommand.drawQuad(1, 1);
    }
    gIntermediateCommand.endDraw();
    gIntermediateCommand.reset();
  }
  gIntermediateCommand.Terminate();
  state.SetItemsProcessed(state.iterations() * quads * 3);
}
BENCHMARK(BM_RecordManyQuads)->Arg(10000);

}  // namespace
