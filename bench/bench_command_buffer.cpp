// Recording into the render command buffer: a pointer bump and a constructor per command, so a
// frame's worth of recording costs next to nothing. Replay needs a GL context and is not timed.
#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include "render/intermediate_command.h"

namespace {

// The end-of-demo fade's recording: fifteen commands and one material.
void RecordFade(intermediateCommand& c) {
  c.beginDraw();
  c.pushMatrix(GL_PROJECTION);
  c.loadIdentity(GL_PROJECTION);
  c.ortho(0, 1, 1, 0, 0.01f, 1000);
  c.pushMatrix(GL_MODELVIEW);
  c.loadIdentity(GL_MODELVIEW);
  c.lookAt(0, 0, 900, 0, 0, -1, 0, 1, 0);
  c.pushMatrix(GL_MODELVIEW);
  RenderMaterial* m = c.newMaterial();
  m->red = m->green = m->blue = 0;
  m->alpha = 0.5f;
  c.changeMaterial(m);
  c.translate(0, 0, 1);
  c.drawQuad(1, 1);
  c.popMatrix(GL_MODELVIEW);
  c.popMatrix(GL_MODELVIEW);
  c.popMatrix(GL_PROJECTION);
  c.endDraw();
}

void BM_RecordFadeAndReset(benchmark::State& state) {
  gIntermediateCommand.Initialize();
  for (auto _ : state) {
    RecordFade(gIntermediateCommand);
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
