#include "render/effect/draw_state.h"

#include <cmath>

#include "render/effect/es_fixed_state.h"
#include "render/effect/glsl_dialect.h"
#include "render/effect/states.h"

namespace {

// How far a constant alpha must be from the reference before the test's outcome counts as known:
// drivers may compare in 8-bit fixed point.
constexpr float ALPHA_MARGIN = 1.0f / 256.0f;

bool Enabled(GLenum capability) { return glIsEnabled(capability) == GL_TRUE; }

GLenum IntegerState(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return static_cast<GLenum>(value);
}

bool AlphaTestPasses(GLenum func, float reference, float alpha) {
  if (alpha < 0.0f || alpha > 1.0f) return false;
  switch (func) {
    case GL_ALWAYS: return true;
    case GL_GREATER:
    case GL_GEQUAL: return alpha > reference + ALPHA_MARGIN;
    case GL_LESS:
    case GL_LEQUAL: return alpha < reference - ALPHA_MARGIN;
    case GL_NOTEQUAL: return std::fabs(alpha - reference) > ALPHA_MARGIN;
    default: return false;
  }
}

void SetPolygonMode(DrawState& state, GLenum face, GLenum mode) {
  if (face == GL_FRONT || face == GL_FRONT_AND_BACK) state.polygonMode[0] = mode;
  if (face == GL_BACK || face == GL_FRONT_AND_BACK) state.polygonMode[1] = mode;
}

}  // namespace

DrawState CurrentDrawState() {
  DrawState state;
  state.blend = Enabled(GL_BLEND);
  if (render::SelectedGlslDialect() == render::GlslDialect::GlslEs300) {
    // The WebGL 2 path keeps the alpha test and the polygon modes itself.
    const render::EsFixedState& fixed = render::CurrentEsFixedState();
    state.alphaTest = fixed.alphaTest;
    state.alphaFunc = fixed.alphaFunc;
    state.alphaReference = fixed.alphaReference;
    state.polygonMode[0] = fixed.polygonMode[0];
    state.polygonMode[1] = fixed.polygonMode[1];
  } else {
    state.alphaTest = Enabled(GL_ALPHA_TEST);
    state.alphaFunc = IntegerState(GL_ALPHA_TEST_FUNC);
    glGetFloatv(GL_ALPHA_TEST_REF, &state.alphaReference);
    GLint modes[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    state.polygonMode[0] = static_cast<GLenum>(modes[0]);
    state.polygonMode[1] = static_cast<GLenum>(modes[1]);
  }
  state.depthTest = Enabled(GL_DEPTH_TEST);
  state.stencilTest = Enabled(GL_STENCIL_TEST);
  state.cullFace = Enabled(GL_CULL_FACE);
  state.cullFaceMode = IntegerState(GL_CULL_FACE_MODE);
  state.frontFace = IntegerState(GL_FRONT_FACE);
  GLboolean mask[4] = {GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE};
  glGetBooleanv(GL_COLOR_WRITEMASK, mask);
  for (int i = 0; i < 4; ++i) state.colorMask[i] = mask[i] == GL_TRUE;
  return state;
}

DrawState WithPassStates(DrawState state, const EffectPass& pass) {
  for (const EffectStateAssignment& assignment : pass.states) {
    const float* v = assignment.values;
    const auto glEnum = [](float value) { return static_cast<GLenum>(value); };
    switch (assignment.state) {
      case STATE_BLEND_ENABLE: state.blend = v[0] != 0; break;
      case STATE_ALPHA_TEST_ENABLE: state.alphaTest = v[0] != 0; break;
      case STATE_ALPHA_FUNC:
        state.alphaFunc = glEnum(v[0]);
        state.alphaReference = std::fmin(std::fmax(v[1], 0.0f), 1.0f);
        break;
      case STATE_DEPTH_TEST_ENABLE: state.depthTest = v[0] != 0; break;
      case STATE_STENCIL_TEST_ENABLE: state.stencilTest = v[0] != 0; break;
      case STATE_CULL_FACE_ENABLE: state.cullFace = v[0] != 0; break;
      case STATE_CULL_FACE: state.cullFaceMode = glEnum(v[0]); break;
      case STATE_FRONT_FACE: state.frontFace = glEnum(v[0]); break;
      case STATE_POLYGON_MODE: SetPolygonMode(state, glEnum(v[0]), glEnum(v[1])); break;
      case STATE_COLOR_MASK:
        for (int i = 0; i < 4; ++i) state.colorMask[i] = v[i] != 0;
        break;
      default: break;
    }
  }
  return state;
}

bool ReplacesEveryPixel(const DrawState& state, const PassOutput& output, bool targetHasDepth) {
  if (!output.placesQuadAsGiven || !output.writesEveryFragment) return false;
  if (state.blend || state.stencilTest || (state.depthTest && targetHasDepth)) return false;
  for (bool channel : state.colorMask) {
    if (!channel) return false;
  }
  const bool frontFacing = state.frontFace == GL_CCW;
  if (state.cullFace && (state.cullFaceMode == GL_FRONT_AND_BACK || (state.cullFaceMode == GL_FRONT) == frontFacing)) {
    return false;
  }
  if (state.polygonMode[frontFacing ? 0 : 1] != GL_FILL) return false;
  return !state.alphaTest || (output.constantAlpha && PassesAlphaTest(state, *output.constantAlpha));
}

bool PassesAlphaTest(const DrawState& state, float alpha) {
  return !state.alphaTest || AlphaTestPasses(state.alphaFunc, state.alphaReference, alpha);
}

bool FillsPolygons(float polygonMode) { return static_cast<unsigned>(polygonMode) == GL_FILL; }
