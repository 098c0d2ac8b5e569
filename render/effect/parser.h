#pragma once
// Reads an effect file: GLSL 1.20 code, uniforms with ": SEMANTIC" and "= sampler_state { ... }",
// and "technique NAME { pass NAME { VertexProgram = f; FragmentProgram = g; States...; } }"
// blocks. Pure: text in, EffectSource out; nothing is compiled here (docs/effects.md).

#include <string_view>

#include "render/effect/source.h"

// Fills out from text. False when the file has syntax errors (out.errors says where); problems
// confined to one technique only go to that technique's errors and leave the result true.
bool ParseEffect(std::string_view text, EffectSource& out);
