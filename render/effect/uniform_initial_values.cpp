#include "render/effect/uniform_initial_values.h"

#include "render/effect/constant_value.h"
#include "render/effect/glsl_es_translation.h"

namespace render {

namespace {

enum class Kind { Float, Int, Matrix, None };

// The kind of a uniform type and how many components (or columns, for a matrix) it has.
Kind KindOf(const std::string& type, int& size) {
  const auto vector = [&](const char* prefix) {
    const std::string p(prefix);
    if (type.size() != p.size() + 1 || type.compare(0, p.size(), p) != 0) return false;
    size = type.back() - '0';
    return size >= 2 && size <= 4;
  };
  size = 1;
  if (type == "float") return Kind::Float;
  if (type == "int" || type == "bool") return Kind::Int;
  if (vector("vec")) return Kind::Float;
  if (vector("ivec") || vector("bvec")) return Kind::Int;
  if (vector("mat")) return Kind::Matrix;
  return Kind::None;
}

size_t ComponentCount(const std::string& type) {
  int size = 0;
  const Kind kind = KindOf(type, size);
  if (kind == Kind::None) return 0;
  return static_cast<size_t>(kind == Kind::Matrix ? size * size : size);
}

}  // namespace

bool ReadUniformInitialValues(const EffectSource& source, std::vector<UniformInitialValue>& values,
                              EffectMessage& problem) {
  values.clear();
  for (const EffectVariable& uniform : source.uniforms) {
    if (uniform.initialiser.empty()) continue;
    UniformInitialValue value{GlslEsName(uniform.name), uniform.type, {}};
    const size_t count = ComponentCount(uniform.type);
    if (uniform.arraySize > 0 || count == 0 || !EvaluateConstant(uniform.initialiser, value.components) ||
        value.components.size() != count) {
      problem = {uniform.line, "the initial value of uniform '" + uniform.name + "' (" + uniform.initialiser +
                                   ") is not a constant " + uniform.type + " that the engine can set in GLSL ES"};
      return false;
    }
    values.push_back(std::move(value));
  }
  return true;
}

void SetUniformInitialValues(GLuint program, const std::vector<UniformInitialValue>& values) {
  for (const UniformInitialValue& value : values) {
    const GLint location = glGetUniformLocation(program, value.name.c_str());
    if (location < 0) continue;
    int size = 0;
    const float* f = value.components.data();
    switch (KindOf(value.type, size)) {
      case Kind::Float:
        if (size == 1) glUniform1fv(location, 1, f);
        if (size == 2) glUniform2fv(location, 1, f);
        if (size == 3) glUniform3fv(location, 1, f);
        if (size == 4) glUniform4fv(location, 1, f);
        break;
      case Kind::Int: {
        GLint i[4] = {};
        for (int c = 0; c < size; ++c) i[c] = static_cast<GLint>(f[c]);
        if (size == 1) glUniform1iv(location, 1, i);
        if (size == 2) glUniform2iv(location, 1, i);
        if (size == 3) glUniform3iv(location, 1, i);
        if (size == 4) glUniform4iv(location, 1, i);
        break;
      }
      case Kind::Matrix:
        if (size == 2) glUniformMatrix2fv(location, 1, GL_FALSE, f);
        if (size == 3) glUniformMatrix3fv(location, 1, GL_FALSE, f);
        if (size == 4) glUniformMatrix4fv(location, 1, GL_FALSE, f);
        break;
      case Kind::None: break;
    }
  }
}

}  // namespace render
