#pragma once
// The flat parameter list of a parsed effect: every uniform, with structs opened into their
// members and arrays into their elements. Each leaf keeps its full GLSL path ("lights[1].color")
// and its unqualified name ("color"), which is what setters match. Pure.

#include <string>
#include <vector>

#include "render/effect/source.h"

enum class EffectParameterType { Float, Float2, Float3, Float4, Float4x4, Sampler1D, Sampler2D, Sampler3D, SamplerCube, Other };

struct EffectParameterLeaf {
  std::string path;      // what glGetUniformLocation takes
  std::string name;      // unqualified: the member or uniform name
  std::string semantic;  // the member's own, else the uniform's
  std::string typeName;  // as declared
  EffectParameterType type = EffectParameterType::Other;
  std::vector<EffectStateAssignment> samplerStates;
};

// No effect needs more; a bigger list is refused rather than built.
constexpr size_t MAX_EFFECT_PARAMETERS = 4096;

// Leaves in declaration order; false (with a partial list) when there would be more than
// MAX_EFFECT_PARAMETERS.
bool ListEffectParameters(const EffectSource& source, std::vector<EffectParameterLeaf>& leaves);

EffectParameterType EffectParameterTypeOf(const std::string& typeName);

bool IsSamplerType(EffectParameterType type);
