#include "render/effect/parameter_list.h"

namespace {

class Walker {
 public:
  Walker(const EffectSource& source, std::vector<EffectParameterLeaf>& leaves) : mSource(source), mLeaves(leaves) {}

  bool Run() {
    mLeaves.clear();
    for (const EffectVariable& uniform : mSource.uniforms) {
      if (!Variable(uniform, "", mSource.structs.size(), uniform.semantic)) return false;
    }
    return true;
  }

 private:
  // structLimit: only structs declared before the one being opened may be members of it.
  bool Variable(const EffectVariable& variable, const std::string& prefix, size_t structLimit,
                const std::string& inheritedSemantic) {
    const std::string semantic = variable.semantic.empty() ? inheritedSemantic : variable.semantic;
    if (variable.arraySize == 0) return Element(variable, prefix + variable.name, structLimit, semantic);
    for (int i = 0; i < variable.arraySize; ++i) {
      if (!Element(variable, prefix + variable.name + "[" + std::to_string(i) + "]", structLimit, semantic)) return false;
    }
    return true;
  }

  bool Element(const EffectVariable& variable, const std::string& path, size_t structLimit, const std::string& semantic) {
    for (size_t s = 0; s < structLimit; ++s) {
      const EffectStruct& record = mSource.structs[s];
      if (record.name != variable.type) continue;
      for (const EffectVariable& member : record.members) {
        if (!Variable(member, path + ".", s, "")) return false;
      }
      return true;
    }
    if (mLeaves.size() >= MAX_EFFECT_PARAMETERS) return false;
    EffectParameterLeaf leaf;
    leaf.path = path;
    leaf.name = variable.name;
    leaf.semantic = semantic;
    leaf.typeName = variable.type;
    leaf.type = EffectParameterTypeOf(variable.type);
    leaf.samplerStates = variable.samplerStates;
    mLeaves.push_back(std::move(leaf));
    return true;
  }

  const EffectSource& mSource;
  std::vector<EffectParameterLeaf>& mLeaves;
};

}  // namespace

bool ListEffectParameters(const EffectSource& source, std::vector<EffectParameterLeaf>& leaves) {
  return Walker(source, leaves).Run();
}

EffectParameterType EffectParameterTypeOf(const std::string& typeName) {
  static const struct {
    const char* name;
    EffectParameterType type;
  } TYPES[] = {
      {"float", EffectParameterType::Float},          {"vec2", EffectParameterType::Float2},
      {"vec3", EffectParameterType::Float3},          {"vec4", EffectParameterType::Float4},
      {"mat4", EffectParameterType::Float4x4},        {"sampler1D", EffectParameterType::Sampler1D},
      {"sampler2D", EffectParameterType::Sampler2D},  {"sampler3D", EffectParameterType::Sampler3D},
      {"samplerCube", EffectParameterType::SamplerCube},
  };
  for (const auto& entry : TYPES) {
    if (typeName == entry.name) return entry.type;
  }
  return EffectParameterType::Other;
}

bool IsSamplerType(EffectParameterType type) {
  return type == EffectParameterType::Sampler1D || type == EffectParameterType::Sampler2D ||
         type == EffectParameterType::Sampler3D || type == EffectParameterType::SamplerCube;
}
