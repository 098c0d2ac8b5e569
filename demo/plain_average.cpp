#include "demo/plain_average.h"

#include <string>
#include <vector>

#include "render/effect/effect.h"
#include "render/effect/parser.h"
#include "render/effect/pass_signature.h"

namespace {

constexpr int PLAIN_AVERAGE_PASSES = 3;

// The passes the shortcut stands for. Another effect may word its comments and layout as it
// likes, but a changed program, state or uniform makes it a different effect.
constexpr const char PLAIN_AVERAGE_EFFECT[] = R"(
uniform mat4 projMat : WORLDVIEWPROJECTION;
uniform sampler2D srcColBuf0 = sampler_state {
  MinFilter = Nearest;
  MagFilter = Nearest;
  WrapS = ClampToEdge;
  WrapT = ClampToEdge;
};
uniform sampler2D srcColBuf1;
uniform float div = 1.0;
varying vec2 vUv;
void vsScreen() {
  vUv = gl_MultiTexCoord0.xy;
  gl_Position = projMat * gl_Vertex;
}
void fsSample() { gl_FragColor = texture2D(srcColBuf0, vUv); }
void fsDivide() { gl_FragColor = vec4(1.0 / div); }
technique Average {
  pass Copy {
    VertexProgram = vsScreen;
    FragmentProgram = fsSample;
    DepthTestEnable = false;
    BlendEnable = false;
  }
  pass Add {
    VertexProgram = vsScreen;
    FragmentProgram = fsSample;
    DepthTestEnable = false;
    BlendEnable = true;
    BlendEquation = FuncAdd;
    BlendFunc = int2(One, One);
  }
  pass Divide {
    VertexProgram = vsScreen;
    FragmentProgram = fsDivide;
    DepthTestEnable = false;
    BlendEnable = true;
    BlendEquation = FuncAdd;
    BlendFunc = int2(Zero, SrcColor);
  }
}
)";

std::vector<std::string> PlainAverageSignatures() {
  EffectSource source;
  std::vector<std::string> signatures;
  if (!ParseEffect(PLAIN_AVERAGE_EFFECT, source) || source.techniques.empty()) return signatures;
  for (const EffectPass& pass : source.techniques.front().passes) signatures.push_back(PassSignature(source, pass));
  return signatures;
}

}  // namespace

bool IsPlainAverage(const cEffect& effect) {
  static const std::vector<std::string> EXPECTED = PlainAverageSignatures();
  if (EXPECTED.size() != PLAIN_AVERAGE_PASSES || effect.passCount() < PLAIN_AVERAGE_PASSES) return false;
  for (int pass = 0; pass < PLAIN_AVERAGE_PASSES; ++pass) {
    const EffectPass* source = effect.PassSource(pass);
    if (!source || PassSignature(effect.Source(), *source) != EXPECTED[static_cast<size_t>(pass)]) return false;
  }
  return true;
}
