#include "render/effect/states.h"

#include <GL/glew.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "render/effect/source.h"

namespace {

using K = EffectValueKind;

const EffectStateInfo STATES[STATE_COUNT] = {
    {"BlendEnable", 1, {K::Bool}},
    {"BlendFunc", 2, {K::BlendFactor, K::BlendFactor}},
    {"BlendFuncSeparate", 4, {K::BlendFactor, K::BlendFactor, K::BlendFactor, K::BlendFactor}},
    {"BlendEquation", 1, {K::BlendEquation}},
    {"BlendColor", 4, {K::Float, K::Float, K::Float, K::Float}},
    {"AlphaTestEnable", 1, {K::Bool}},
    {"AlphaFunc", 2, {K::CompareFunc, K::Float}},
    {"DepthTestEnable", 1, {K::Bool}},
    {"DepthFunc", 1, {K::CompareFunc}},
    {"DepthMask", 1, {K::Bool}},
    {"CullFaceEnable", 1, {K::Bool}},
    {"CullFace", 1, {K::Face}},
    {"FrontFace", 1, {K::Winding}},
    {"ColorMask", 4, {K::Bool, K::Bool, K::Bool, K::Bool}},
    {"PolygonMode", 2, {K::Face, K::PolygonMode}},
    {"PolygonOffsetFillEnable", 1, {K::Bool}},
    {"PolygonOffset", 2, {K::Float, K::Float}},
    {"StencilTestEnable", 1, {K::Bool}},
    {"StencilFunc", 3, {K::CompareFunc, K::Int, K::Int}},
    {"StencilOp", 3, {K::StencilOp, K::StencilOp, K::StencilOp}},
    {"StencilMask", 1, {K::Int}},
    {"PointSize", 1, {K::Float}},
    {"LineWidth", 1, {K::Float}},
    {"VertexProgramPointSizeEnable", 1, {K::Bool}},
    {"PointSpriteEnable", 1, {K::Bool}},
    {"MinFilter", 1, {K::Filter}},
    {"MagFilter", 1, {K::Filter}},
    {"WrapS", 1, {K::Wrap}},
    {"WrapT", 1, {K::Wrap}},
    {"WrapR", 1, {K::Wrap}},
    {"BorderColor", 4, {K::Float, K::Float, K::Float, K::Float}},
    {"MaxAnisotropy", 1, {K::Float}},
};

struct EnumName {
  const char* name;  // in the spelling used for output
  EffectValueKind kind;
  unsigned value;
};

const EnumName ENUMS[] = {
    {"Never", K::CompareFunc, GL_NEVER},
    {"Less", K::CompareFunc, GL_LESS},
    {"LEqual", K::CompareFunc, GL_LEQUAL},
    {"Equal", K::CompareFunc, GL_EQUAL},
    {"Greater", K::CompareFunc, GL_GREATER},
    {"NotEqual", K::CompareFunc, GL_NOTEQUAL},
    {"GEqual", K::CompareFunc, GL_GEQUAL},
    {"Always", K::CompareFunc, GL_ALWAYS},
    {"Zero", K::BlendFactor, GL_ZERO},
    {"One", K::BlendFactor, GL_ONE},
    {"SrcColor", K::BlendFactor, GL_SRC_COLOR},
    {"OneMinusSrcColor", K::BlendFactor, GL_ONE_MINUS_SRC_COLOR},
    {"DstColor", K::BlendFactor, GL_DST_COLOR},
    {"OneMinusDstColor", K::BlendFactor, GL_ONE_MINUS_DST_COLOR},
    {"SrcAlpha", K::BlendFactor, GL_SRC_ALPHA},
    {"OneMinusSrcAlpha", K::BlendFactor, GL_ONE_MINUS_SRC_ALPHA},
    {"DstAlpha", K::BlendFactor, GL_DST_ALPHA},
    {"OneMinusDstAlpha", K::BlendFactor, GL_ONE_MINUS_DST_ALPHA},
    {"ConstantColor", K::BlendFactor, GL_CONSTANT_COLOR},
    {"OneMinusConstantColor", K::BlendFactor, GL_ONE_MINUS_CONSTANT_COLOR},
    {"ConstantAlpha", K::BlendFactor, GL_CONSTANT_ALPHA},
    {"OneMinusConstantAlpha", K::BlendFactor, GL_ONE_MINUS_CONSTANT_ALPHA},
    {"SrcAlphaSaturate", K::BlendFactor, GL_SRC_ALPHA_SATURATE},
    {"FuncAdd", K::BlendEquation, GL_FUNC_ADD},
    {"Add", K::BlendEquation, GL_FUNC_ADD},
    {"FuncSubtract", K::BlendEquation, GL_FUNC_SUBTRACT},
    {"Subtract", K::BlendEquation, GL_FUNC_SUBTRACT},
    {"FuncReverseSubtract", K::BlendEquation, GL_FUNC_REVERSE_SUBTRACT},
    {"ReverseSubtract", K::BlendEquation, GL_FUNC_REVERSE_SUBTRACT},
    {"Min", K::BlendEquation, GL_MIN},
    {"Max", K::BlendEquation, GL_MAX},
    {"Front", K::Face, GL_FRONT},
    {"Back", K::Face, GL_BACK},
    {"FrontAndBack", K::Face, GL_FRONT_AND_BACK},
    {"CW", K::Winding, GL_CW},
    {"CCW", K::Winding, GL_CCW},
    {"Point", K::PolygonMode, GL_POINT},
    {"Line", K::PolygonMode, GL_LINE},
    {"Fill", K::PolygonMode, GL_FILL},
    {"Keep", K::StencilOp, GL_KEEP},
    {"Zero", K::StencilOp, GL_ZERO},
    {"Replace", K::StencilOp, GL_REPLACE},
    {"Incr", K::StencilOp, GL_INCR},
    {"Decr", K::StencilOp, GL_DECR},
    {"Invert", K::StencilOp, GL_INVERT},
    {"IncrWrap", K::StencilOp, GL_INCR_WRAP},
    {"DecrWrap", K::StencilOp, GL_DECR_WRAP},
    {"Nearest", K::Filter, GL_NEAREST},
    {"Linear", K::Filter, GL_LINEAR},
    {"NearestMipMapNearest", K::Filter, GL_NEAREST_MIPMAP_NEAREST},
    {"LinearMipMapNearest", K::Filter, GL_LINEAR_MIPMAP_NEAREST},
    {"NearestMipMapLinear", K::Filter, GL_NEAREST_MIPMAP_LINEAR},
    {"LinearMipMapLinear", K::Filter, GL_LINEAR_MIPMAP_LINEAR},
    {"Repeat", K::Wrap, GL_REPEAT},
    {"Clamp", K::Wrap, GL_CLAMP},
    {"ClampToEdge", K::Wrap, GL_CLAMP_TO_EDGE},
    {"ClampToBorder", K::Wrap, GL_CLAMP_TO_BORDER},
    {"MirroredRepeat", K::Wrap, GL_MIRRORED_REPEAT},
};

// Lower case without underscores and without a leading "GL_": the form names are compared in.
std::string Folded(std::string_view name) {
  if (name.size() > 3 && (name[0] == 'G' || name[0] == 'g') && (name[1] == 'L' || name[1] == 'l') && name[2] == '_') {
    name.remove_prefix(3);
  }
  std::string folded;
  for (char c : name) {
    if (c != '_') folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return folded;
}

}  // namespace

const EffectStateInfo& EffectState(int id) { return STATES[id]; }

std::optional<int> FindEffectState(std::string_view name, bool sampler) {
  const std::string folded = Folded(name);
  const int first = sampler ? PASS_STATE_COUNT : 0;
  const int last = sampler ? STATE_COUNT : PASS_STATE_COUNT;
  for (int id = first; id < last; ++id) {
    if (Folded(STATES[id].name) == folded) return id;
  }
  return std::nullopt;
}

std::optional<unsigned> FindEffectEnum(std::string_view name, EffectValueKind kind) {
  const std::string folded = Folded(name);
  for (const EnumName& entry : ENUMS) {
    if (entry.kind == kind && Folded(entry.name) == folded) return entry.value;
  }
  return std::nullopt;
}

const char* EffectEnumName(unsigned value, EffectValueKind kind) {
  for (const EnumName& entry : ENUMS) {
    if (entry.kind == kind && entry.value == value) return entry.name;
  }
  return nullptr;
}

std::string DescribeEffectState(const EffectStateAssignment& assignment) {
  const EffectStateInfo& info = EffectState(assignment.state);
  std::string text = std::string(info.name) + " =";
  for (int i = 0; i < info.arity; ++i) {
    const float value = assignment.values[i];
    const EffectValueKind kind = info.kinds[i];
    std::string word;
    if (kind == EffectValueKind::Bool) {
      word = value != 0 ? "true" : "false";
    } else if (const char* name = EffectEnumName(static_cast<unsigned>(value), kind)) {
      word = name;
    } else {
      char number[32];
      std::snprintf(number, sizeof(number), "%g", value);
      word = number;
    }
    text += (i ? ", " : " ") + word;
  }
  return text;
}
