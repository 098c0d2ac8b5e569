#pragma once
// Uniform initialisers set from the host: GLSL ES refuses "uniform float x = 1.0;", so the
// translated program declares the uniform alone and the engine sets the value once linked, which
// is where GLSL 1.20's linker would have put it.

#include <string>
#include <vector>

#include <GL/glew.h>

#include "render/effect/source.h"

namespace render {

struct UniformInitialValue {
  std::string name;  // in the translated program
  std::string type;
  std::vector<float> components;  // matrices column by column
};

// The initial values of source's uniforms; false with problem set (at the uniform's line) for
// the first that is not a constant of its type.
bool ReadUniformInitialValues(const EffectSource& source, std::vector<UniformInitialValue>& values,
                              EffectMessage& problem);

// Sets values on program, which must be in use.
void SetUniformInitialValues(GLuint program, const std::vector<UniformInitialValue>& values);

}  // namespace render
