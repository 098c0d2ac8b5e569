// Setting effect parameters by name against calling glUniform directly, in the same run: a draw
// sets about thirty parameters, so the name lookup must cost less than the upload itself.
// Run under a display (xvfb-run) from the build tree.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/hidden_gl_context.h"
#include "render/effect/effect.h"

namespace {

constexpr int PARAMETER_COUNT = 30;

std::string ParameterName(int i) { return "shParam" + std::to_string(i); }

// An effect whose one pass reads PARAMETER_COUNT vec4 uniforms, so none is optimised away.
std::string EffectText() {
  std::string text;
  std::string sum = "vec4(0.0)";
  for (int i = 0; i < PARAMETER_COUNT; ++i) {
    text += "uniform vec4 " + ParameterName(i) + " : SEMANTIC" + std::to_string(i) + ";\n";
    sum += " + " + ParameterName(i);
  }
  text += "void vs() { gl_Position = gl_Vertex; }\n";
  text += "void fs() { gl_FragColor = " + sum + "; }\n";
  text += "technique T { pass { VertexProgram = vs; FragmentProgram = fs; } }\n";
  return text;
}

struct Fixture {
  Fixture() {
    context.Create(16, 16);
    effect.Create(EffectText(), "bench.cgfx");
    for (int i = 0; i < PARAMETER_COUNT; ++i) names.push_back(ParameterName(i));
  }
  platform::HiddenGLContext context;
  cEffect effect;
  std::vector<std::string> names;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

bool Ready(benchmark::State& state, Fixture& fixture) {
  if (fixture.effect.passCount() == 1) return true;
  state.SkipWithError(("no GL context or effect: " + fixture.context.Error() + fixture.effect.Log()).c_str());
  return false;
}

const float VALUE[4] = {0.25f, 0.5f, 0.75f, 1.0f};

// Thirty setParameter calls by name while the pass is active (values go straight to GL).
void BM_SetParameterByName(benchmark::State& state) {
  Fixture& fixture = Shared();
  if (!Ready(state, fixture)) return;
  fixture.effect.setPassState(0);
  for (auto _ : state) {
    for (const std::string& name : fixture.names) fixture.effect.setParameter(name.c_str(), VALUE);
  }
  fixture.effect.resetPassState(0);
  state.SetItemsProcessed(state.iterations() * PARAMETER_COUNT);
}
BENCHMARK(BM_SetParameterByName);

// The same by semantic.
void BM_SetParameterBySemantic(benchmark::State& state) {
  Fixture& fixture = Shared();
  if (!Ready(state, fixture)) return;
  std::vector<std::string> semantics;
  for (int i = 0; i < PARAMETER_COUNT; ++i) semantics.push_back("SEMANTIC" + std::to_string(i));
  fixture.effect.setPassState(0);
  for (auto _ : state) {
    for (const std::string& name : semantics) fixture.effect.setParameter(name.c_str(), VALUE);
  }
  fixture.effect.resetPassState(0);
  state.SetItemsProcessed(state.iterations() * PARAMETER_COUNT);
}
BENCHMARK(BM_SetParameterBySemantic);

// Thirty glUniform4fv calls on locations looked up beforehand: the floor.
void BM_DirectUniform(benchmark::State& state) {
  Fixture& fixture = Shared();
  if (!Ready(state, fixture)) return;
  const GLuint program = fixture.effect.PassProgram(0);
  std::vector<GLint> locations;
  for (const std::string& name : fixture.names) locations.push_back(glGetUniformLocation(program, name.c_str()));
  glUseProgram(program);
  for (auto _ : state) {
    for (GLint location : locations) glUniform4fv(location, 1, VALUE);
  }
  glUseProgram(0);
  state.SetItemsProcessed(state.iterations() * PARAMETER_COUNT);
}
BENCHMARK(BM_DirectUniform);

// Thirty calls by name with no pass active: the values wait for the next setPassState.
void BM_SetParameterDeferred(benchmark::State& state) {
  Fixture& fixture = Shared();
  if (!Ready(state, fixture)) return;
  for (auto _ : state) {
    for (const std::string& name : fixture.names) fixture.effect.setParameter(name.c_str(), VALUE);
  }
  state.SetItemsProcessed(state.iterations() * PARAMETER_COUNT);
}
BENCHMARK(BM_SetParameterDeferred);

}  // namespace
