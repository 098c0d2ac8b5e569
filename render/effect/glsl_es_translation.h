#pragma once
// GLSL ES 3.00 (the language of WebGL 2) from the GLSL 1.20 of one effect stage: the version and
// default precisions, the fixed-function vertex inputs as attributes at fixed locations and its
// matrices as uniforms that the engine sets, in/out for varyings, a declared colour output, the
// texture functions by their new names, the alpha test as a discard, and the names that are
// built in only in GLSL ES moved out of the way. The inputs and matrices are declared only where
// the stage uses them. Pure.

#include <string>

#include "render/effect/source.h"
#include "render/effect/stage_source.h"

namespace render {

// Where the engine feeds the fixed-function inputs; every program binds them here before linking.
enum EsAttribute : unsigned {
  ES_ATTRIBUTE_VERTEX = 0,
  ES_ATTRIBUTE_NORMAL = 1,
  ES_ATTRIBUTE_COLOR = 2,
  ES_ATTRIBUTE_TEXCOORD0 = 3,  // texture coordinate set n at 3 + n
};
constexpr int ES_TEXCOORD_SETS = 8;

// The attribute name of an input, as glBindAttribLocation takes it (texCoordSet for the
// texture coordinates only).
std::string EsAttributeName(EsAttribute attribute, int texCoordSet = 0);

// The uniforms that stand for fixed-function state, each present only where the stage uses it.
inline constexpr const char* ES_MODELVIEW_MATRIX = "torvane_ModelViewMatrix";
inline constexpr const char* ES_PROJECTION_MATRIX = "torvane_ProjectionMatrix";
inline constexpr const char* ES_MODELVIEW_PROJECTION_MATRIX = "torvane_ModelViewProjectionMatrix";
inline constexpr const char* ES_NORMAL_MATRIX = "torvane_NormalMatrix";
inline constexpr const char* ES_TEXTURE_MATRIX = "torvane_TextureMatrix";
// The alpha test: ES_ALPHA_FUNC holds EsAlphaFunction's value (0, its start value, is off).
inline constexpr const char* ES_ALPHA_FUNC = "torvane_AlphaFunc";
inline constexpr const char* ES_ALPHA_REFERENCE = "torvane_AlphaReference";

// The drawing path's own program: EsTexturing's value.
inline constexpr const char* ES_TEXTURING = "torvane_Texturing";
// The value of ES_ALPHA_FUNC for a fixed-function alpha test (a GL compare function).
int EsAlphaFunction(bool enabled, unsigned compareFunction);

struct EsTranslationError {
  int line = 0;  // in the effect file
  std::string text;
};

// es from glsl, a stage that BuildStageSource made; false with error set when glsl uses
// fixed-function state that GLSL ES has no counterpart for.
bool TranslateToGlslEs(const std::string& glsl, EffectStage stage, std::string& es, EsTranslationError& error);

// The name a GLSL 1.20 uniform path ("lights[1].colour") has in the translated program.
std::string GlslEsName(const std::string& path);

// source with every uniform initialiser blanked: GLSL ES refuses them, the host sets the values.
void BlankUniformInitialisers(EffectSource& source);

}  // namespace render
