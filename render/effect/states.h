#pragma once
// The names an effect file may assign in a pass or a sampler_state block, the kind of each
// value, and the enum names that values may use. Pure tables: no GL calls.

#include <optional>
#include <string>
#include <string_view>

enum class EffectValueKind {
  Bool,
  Float,
  Int,
  CompareFunc,  // Never, Less, LEqual, ...
  BlendFactor,  // Zero, One, SrcAlpha, ...
  BlendEquation,
  Face,         // Front, Back, FrontAndBack
  Winding,      // CW, CCW
  PolygonMode,  // Point, Line, Fill
  StencilOp,
  Filter,       // Nearest, Linear, LinearMipMapLinear, ...
  Wrap,         // Repeat, Clamp, ClampToEdge, ...
};

enum EffectStateId {
  STATE_BLEND_ENABLE,
  STATE_BLEND_FUNC,
  STATE_BLEND_FUNC_SEPARATE,
  STATE_BLEND_EQUATION,
  STATE_BLEND_COLOR,
  STATE_ALPHA_TEST_ENABLE,
  STATE_ALPHA_FUNC,
  STATE_DEPTH_TEST_ENABLE,
  STATE_DEPTH_FUNC,
  STATE_DEPTH_MASK,
  STATE_CULL_FACE_ENABLE,
  STATE_CULL_FACE,
  STATE_FRONT_FACE,
  STATE_COLOR_MASK,
  STATE_POLYGON_MODE,
  STATE_POLYGON_OFFSET_FILL_ENABLE,
  STATE_POLYGON_OFFSET,
  STATE_STENCIL_TEST_ENABLE,
  STATE_STENCIL_FUNC,
  STATE_STENCIL_OP,
  STATE_STENCIL_MASK,
  STATE_POINT_SIZE,
  STATE_LINE_WIDTH,
  STATE_VERTEX_PROGRAM_POINT_SIZE_ENABLE,
  STATE_POINT_SPRITE_ENABLE,
  PASS_STATE_COUNT,
  // sampler_state entries
  SAMPLER_MIN_FILTER = PASS_STATE_COUNT,
  SAMPLER_MAG_FILTER,
  SAMPLER_WRAP_S,
  SAMPLER_WRAP_T,
  SAMPLER_WRAP_R,
  SAMPLER_BORDER_COLOR,
  SAMPLER_MAX_ANISOTROPY,
  STATE_COUNT
};

struct EffectStateInfo {
  const char* name;  // as authors write it; matched without regard to case
  int arity;
  EffectValueKind kinds[4];
};

const EffectStateInfo& EffectState(int id);

// The pass state (sampler == false) or sampler state (sampler == true) called name, if any.
std::optional<int> FindEffectState(std::string_view name, bool sampler);

// The GL value of an enum name of the given kind. Names match without regard to case and with or
// without the "GL_" prefix and underscores, so "LEqual" and "GL_LEQUAL" are the same.
std::optional<unsigned> FindEffectEnum(std::string_view name, EffectValueKind kind);

// The name of kind's GL value as the tables spell it ("LEqual"); null for plain numbers.
const char* EffectEnumName(unsigned value, EffectValueKind kind);

struct EffectStateAssignment;

// The assignment as an author would write it: "BlendFunc = One, OneMinusSrcAlpha".
std::string DescribeEffectState(const EffectStateAssignment& assignment);
