#pragma once
// What one pass of an effect does, as text: two passes have the same signature exactly when they
// run the same GLSL (compared token by token, so comments, layout and line marks do not count)
// with the same states, over uniforms of the same names, types, semantics and sampler states.
// It recognises an effect by what it does rather than by its file name. Pure.

#include <string>

#include "render/effect/source.h"

// Empty when the pass's programs cannot be built from source.
std::string PassSignature(const EffectSource& source, const EffectPass& pass);
