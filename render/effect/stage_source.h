#pragma once
// Builds the GLSL of one shader stage from a parsed effect: every declaration and directive in
// file order, only the functions the entry reaches (so fragment-only code never reaches the
// vertex compiler), "#line" marks so compiler messages name the effect file's lines, and a main()
// that calls the entry. Pure.

#include <string>

#include "render/effect/source.h"

enum class EffectStage { Vertex, Fragment };

// Fills glsl; false with error set when the entry function does not exist.
bool BuildStageSource(const EffectSource& source, EffectStage stage, const std::string& entry, std::string& glsl,
                      std::string& error);
