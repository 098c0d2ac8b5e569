#include "render/effect/gl_state.h"

#include "render/effect/es_fixed_state.h"
#include "render/effect/gl_state_fixed_function.h"
#include "render/effect/glsl_dialect.h"
#include "render/effect/states.h"

namespace {

GLenum Enum(double value) { return static_cast<GLenum>(value); }
GLboolean Bool(double value) { return value != 0 ? GL_TRUE : GL_FALSE; }
GLuint Bits(double value) { return static_cast<GLuint>(static_cast<long long>(value)); }

void SetEnabled(GLenum capability, double on) {
  if (on != 0) {
    glEnable(capability);
  } else {
    glDisable(capability);
  }
}

GLenum CapabilityOf(int state) {
  switch (state) {
    case STATE_BLEND_ENABLE: return GL_BLEND;
    case STATE_ALPHA_TEST_ENABLE: return GL_ALPHA_TEST;
    case STATE_DEPTH_TEST_ENABLE: return GL_DEPTH_TEST;
    case STATE_CULL_FACE_ENABLE: return GL_CULL_FACE;
    case STATE_POLYGON_OFFSET_FILL_ENABLE: return GL_POLYGON_OFFSET_FILL;
    case STATE_STENCIL_TEST_ENABLE: return GL_STENCIL_TEST;
    case STATE_VERTEX_PROGRAM_POINT_SIZE_ENABLE: return GL_VERTEX_PROGRAM_POINT_SIZE;
    case STATE_POINT_SPRITE_ENABLE: return GL_POINT_SPRITE;
    default: return 0;
  }
}

bool OnWebGl2Path() { return render::SelectedGlslDialect() == render::GlslDialect::GlslEs300; }

// States that WebGL 2 has no GL state for: the alpha test is kept for the programs' discard, the
// polygon mode for the drawing path to draw edges or corners, and point sizes and point sprites
// do not exist there (points are sprites sized by the program). True when state is one of them.
bool WriteWebGl2(int state, const double* v) {
  render::EsFixedState& fixed = render::CurrentEsFixedState();
  switch (state) {
    case STATE_ALPHA_TEST_ENABLE: fixed.alphaTest = v[0] != 0; return true;
    case STATE_ALPHA_FUNC:
      fixed.alphaFunc = Enum(v[0]);
      // GL clamps the reference so.
      fixed.alphaReference = static_cast<float>(v[1] < 0 ? 0 : v[1] > 1 ? 1 : v[1]);
      return true;
    case STATE_POLYGON_MODE:
      if (Enum(v[0]) != GL_BACK) fixed.polygonMode[0] = Enum(v[1]);
      if (Enum(v[0]) != GL_FRONT) fixed.polygonMode[1] = Enum(v[1]);
      return true;
    case STATE_POINT_SIZE:
    case STATE_VERTEX_PROGRAM_POINT_SIZE_ENABLE:
    case STATE_POINT_SPRITE_ENABLE: return true;
    default: return false;
  }
}

bool SaveWebGl2(int state, std::vector<EffectSavedState>& saved) {
  const render::EsFixedState& fixed = render::CurrentEsFixedState();
  switch (state) {
    case STATE_ALPHA_TEST_ENABLE: saved.push_back({state, {fixed.alphaTest ? 1.0 : 0.0, 0, 0, 0}}); return true;
    case STATE_ALPHA_FUNC:
      saved.push_back({state, {static_cast<double>(fixed.alphaFunc), fixed.alphaReference, 0, 0}});
      return true;
    case STATE_POLYGON_MODE:
      saved.push_back({state, {GL_FRONT, static_cast<double>(fixed.polygonMode[0]), 0, 0}});
      saved.push_back({state, {GL_BACK, static_cast<double>(fixed.polygonMode[1]), 0, 0}});
      return true;
    case STATE_POINT_SIZE:
    case STATE_VERTEX_PROGRAM_POINT_SIZE_ENABLE:
    case STATE_POINT_SPRITE_ENABLE: return true;
    default: return false;
  }
}

void Write(int state, const double* v) {
  if (OnWebGl2Path() && WriteWebGl2(state, v)) return;
#ifndef TORVANE_WEBGL
  if (WriteFixedFunctionState(state, v)) return;
#endif
  if (const GLenum capability = CapabilityOf(state)) {
    SetEnabled(capability, v[0]);
    return;
  }
  switch (state) {
    case STATE_BLEND_FUNC: glBlendFunc(Enum(v[0]), Enum(v[1])); break;
    case STATE_BLEND_FUNC_SEPARATE: glBlendFuncSeparate(Enum(v[0]), Enum(v[1]), Enum(v[2]), Enum(v[3])); break;
    case STATE_BLEND_EQUATION: glBlendEquation(Enum(v[0])); break;
    case STATE_BLEND_COLOR: glBlendColor(v[0], v[1], v[2], v[3]); break;
    case STATE_DEPTH_FUNC: glDepthFunc(Enum(v[0])); break;
    case STATE_DEPTH_MASK: glDepthMask(Bool(v[0])); break;
    case STATE_CULL_FACE: glCullFace(Enum(v[0])); break;
    case STATE_FRONT_FACE: glFrontFace(Enum(v[0])); break;
    case STATE_COLOR_MASK: glColorMask(Bool(v[0]), Bool(v[1]), Bool(v[2]), Bool(v[3])); break;
    case STATE_POLYGON_OFFSET: glPolygonOffset(static_cast<GLfloat>(v[0]), static_cast<GLfloat>(v[1])); break;
    case STATE_STENCIL_FUNC: glStencilFunc(Enum(v[0]), static_cast<GLint>(v[1]), Bits(v[2])); break;
    case STATE_STENCIL_OP: glStencilOp(Enum(v[0]), Enum(v[1]), Enum(v[2])); break;
    case STATE_STENCIL_MASK: glStencilMask(Bits(v[0])); break;
    case STATE_LINE_WIDTH: glLineWidth(static_cast<GLfloat>(v[0])); break;
    default: break;
  }
}

double Integer(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return value;
}

double Unsigned(GLenum name) {
  GLint value = 0;
  glGetIntegerv(name, &value);
  return static_cast<GLuint>(value);
}

double Float(GLenum name) {
  GLfloat value = 0;
  glGetFloatv(name, &value);
  return value;
}

// Appends the current value of state in a form that Write puts back.
void Save(int state, std::vector<EffectSavedState>& saved) {
  if (OnWebGl2Path() && SaveWebGl2(state, saved)) return;
  if (const GLenum capability = CapabilityOf(state)) {
    saved.push_back({state, {static_cast<double>(glIsEnabled(capability)), 0, 0, 0}});
    return;
  }
  switch (state) {
    case STATE_BLEND_FUNC:
    case STATE_BLEND_FUNC_SEPARATE:
      saved.push_back({STATE_BLEND_FUNC_SEPARATE,
                       {Integer(GL_BLEND_SRC_RGB), Integer(GL_BLEND_DST_RGB), Integer(GL_BLEND_SRC_ALPHA),
                        Integer(GL_BLEND_DST_ALPHA)}});
      break;
    case STATE_BLEND_EQUATION: saved.push_back({state, {Integer(GL_BLEND_EQUATION_RGB), 0, 0, 0}}); break;
    case STATE_BLEND_COLOR: {
      GLfloat color[4];
      glGetFloatv(GL_BLEND_COLOR, color);
      saved.push_back({state, {color[0], color[1], color[2], color[3]}});
      break;
    }
    case STATE_ALPHA_FUNC: saved.push_back({state, {Integer(GL_ALPHA_TEST_FUNC), Float(GL_ALPHA_TEST_REF), 0, 0}}); break;
    case STATE_DEPTH_FUNC: saved.push_back({state, {Integer(GL_DEPTH_FUNC), 0, 0, 0}}); break;
    case STATE_DEPTH_MASK: saved.push_back({state, {Integer(GL_DEPTH_WRITEMASK), 0, 0, 0}}); break;
    case STATE_CULL_FACE: saved.push_back({state, {Integer(GL_CULL_FACE_MODE), 0, 0, 0}}); break;
    case STATE_FRONT_FACE: saved.push_back({state, {Integer(GL_FRONT_FACE), 0, 0, 0}}); break;
    case STATE_COLOR_MASK: {
      GLboolean mask[4];
      glGetBooleanv(GL_COLOR_WRITEMASK, mask);
      saved.push_back({state, {double(mask[0]), double(mask[1]), double(mask[2]), double(mask[3])}});
      break;
    }
    case STATE_POLYGON_MODE: {
      GLint modes[2] = {GL_FILL, GL_FILL};
      glGetIntegerv(GL_POLYGON_MODE, modes);
      saved.push_back({state, {GL_FRONT, double(modes[0]), 0, 0}});
      saved.push_back({state, {GL_BACK, double(modes[1]), 0, 0}});
      break;
    }
    case STATE_POLYGON_OFFSET:
      saved.push_back({state, {Float(GL_POLYGON_OFFSET_FACTOR), Float(GL_POLYGON_OFFSET_UNITS), 0, 0}});
      break;
    case STATE_STENCIL_FUNC:
      saved.push_back({state, {Integer(GL_STENCIL_FUNC), Integer(GL_STENCIL_REF), Unsigned(GL_STENCIL_VALUE_MASK), 0}});
      break;
    case STATE_STENCIL_OP:
      saved.push_back({state, {Integer(GL_STENCIL_FAIL), Integer(GL_STENCIL_PASS_DEPTH_FAIL),
                               Integer(GL_STENCIL_PASS_DEPTH_PASS), 0}});
      break;
    case STATE_STENCIL_MASK: saved.push_back({state, {Unsigned(GL_STENCIL_WRITEMASK), 0, 0, 0}}); break;
    case STATE_POINT_SIZE: saved.push_back({state, {Float(GL_POINT_SIZE), 0, 0, 0}}); break;
    case STATE_LINE_WIDTH: saved.push_back({state, {Float(GL_LINE_WIDTH), 0, 0, 0}}); break;
    default: break;
  }
}

}  // namespace

void ApplyEffectState(const EffectStateAssignment& assignment, std::vector<EffectSavedState>* saved) {
  if (saved) Save(assignment.state, *saved);
  const double values[4] = {assignment.values[0], assignment.values[1], assignment.values[2], assignment.values[3]};
  Write(assignment.state, values);
}

void RestoreEffectStates(std::vector<EffectSavedState>& saved) {
  for (auto it = saved.rbegin(); it != saved.rend(); ++it) Write(it->state, it->values);
  saved.clear();
}

void ApplySamplerState(GLenum target, const EffectStateAssignment& assignment) {
  const float* v = assignment.values;
  switch (assignment.state) {
    case SAMPLER_MIN_FILTER: glTexParameteri(target, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(v[0])); break;
    case SAMPLER_MAG_FILTER: glTexParameteri(target, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(v[0])); break;
    case SAMPLER_WRAP_S: glTexParameteri(target, GL_TEXTURE_WRAP_S, static_cast<GLint>(v[0])); break;
    case SAMPLER_WRAP_T: glTexParameteri(target, GL_TEXTURE_WRAP_T, static_cast<GLint>(v[0])); break;
    case SAMPLER_WRAP_R: glTexParameteri(target, GL_TEXTURE_WRAP_R, static_cast<GLint>(v[0])); break;
    case SAMPLER_BORDER_COLOR:
      // WebGL 2 has no border colour (nor the clamp that samples it).
      if (!OnWebGl2Path()) glTexParameterfv(target, GL_TEXTURE_BORDER_COLOR, v);
      break;
    case SAMPLER_MAX_ANISOTROPY:
      if (GLEW_EXT_texture_filter_anisotropic) glTexParameterf(target, GL_TEXTURE_MAX_ANISOTROPY_EXT, v[0]);
      break;
    default: break;
  }
}
