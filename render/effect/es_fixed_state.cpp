#include "render/effect/es_fixed_state.h"

#include <unordered_map>

#include "render/effect/glsl_es_translation.h"
#include "render/effect/matrix.h"

namespace render {

namespace {

struct Locations {
  GLint modelView = -1;
  GLint projection = -1;
  GLint modelViewProjection = -1;
  GLint normal = -1;
  GLint alphaFunc = -1;
  GLint alphaReference = -1;
  GLint texturing = -1;
};

std::unordered_map<GLuint, Locations>& KnownPrograms() {
  static std::unordered_map<GLuint, Locations> programs;
  return programs;
}

// Looked up once per program; the texture matrices, which the engine never changes, are set then.
const Locations& LocationsOf(GLuint program) {
  auto& programs = KnownPrograms();
  const auto known = programs.find(program);
  if (known != programs.end()) return known->second;
  Locations found;
  found.modelView = glGetUniformLocation(program, ES_MODELVIEW_MATRIX);
  found.projection = glGetUniformLocation(program, ES_PROJECTION_MATRIX);
  found.modelViewProjection = glGetUniformLocation(program, ES_MODELVIEW_PROJECTION_MATRIX);
  found.normal = glGetUniformLocation(program, ES_NORMAL_MATRIX);
  found.alphaFunc = glGetUniformLocation(program, ES_ALPHA_FUNC);
  found.alphaReference = glGetUniformLocation(program, ES_ALPHA_REFERENCE);
  found.texturing = glGetUniformLocation(program, ES_TEXTURING);
  const GLint textureMatrices = glGetUniformLocation(program, ES_TEXTURE_MATRIX);
  if (textureMatrices >= 0) {
    float identities[16 * ES_TEXCOORD_SETS] = {};
    for (int i = 0; i < ES_TEXCOORD_SETS; ++i) {
      for (int d = 0; d < 4; ++d) identities[i * 16 + d * 5] = 1.0f;
    }
    glUniformMatrix4fv(textureMatrices, ES_TEXCOORD_SETS, GL_FALSE, identities);
  }
  return programs.emplace(program, found).first->second;
}

// The inverse transpose of the model-view matrix's upper 3x3, which carries normals to eye space.
void NormalMatrix(const float* modelView, float* normal) {
  float inverse[16];
  if (!InvertMatrix(modelView, inverse)) {
    for (int i = 0; i < 9; ++i) normal[i] = i % 4 == 0 ? 1.0f : 0.0f;
    return;
  }
  for (int column = 0; column < 3; ++column) {
    for (int row = 0; row < 3; ++row) normal[column * 3 + row] = inverse[row * 4 + column];
  }
}

}  // namespace

EsFixedState& CurrentEsFixedState() {
  static EsFixedState state;
  return state;
}

void ApplyEsFixedState(GLuint program) {
  if (!program) return;
  const EsFixedState& state = CurrentEsFixedState();
  const Locations& at = LocationsOf(program);
  if (at.modelView >= 0) glUniformMatrix4fv(at.modelView, 1, GL_FALSE, state.modelView);
  if (at.projection >= 0) glUniformMatrix4fv(at.projection, 1, GL_FALSE, state.projection);
  if (at.modelViewProjection >= 0) {
    float product[16];
    MultiplyMatrix(state.projection, state.modelView, product);
    glUniformMatrix4fv(at.modelViewProjection, 1, GL_FALSE, product);
  }
  if (at.normal >= 0) {
    float normal[9];
    NormalMatrix(state.modelView, normal);
    glUniformMatrix3fv(at.normal, 1, GL_FALSE, normal);
  }
  if (at.alphaFunc >= 0) glUniform1i(at.alphaFunc, EsAlphaFunction(state.alphaTest, state.alphaFunc));
  if (at.alphaReference >= 0) glUniform1f(at.alphaReference, state.alphaReference);
  if (at.texturing >= 0) glUniform1i(at.texturing, static_cast<GLint>(state.texturing));
}

void ForgetEsProgram(GLuint program) { KnownPrograms().erase(program); }

}  // namespace render
