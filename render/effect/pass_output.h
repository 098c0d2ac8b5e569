#pragma once
// What the programs of a pass are known to write, read from their GLSL without running them:
// whether the vertex program puts the screen quad where the engine placed it, whether the
// fragment program may discard, and the alpha it writes when that is a constant. Anything the
// reading cannot be sure of counts as unknown, so a caller that skips work on these answers
// only ever skips too little. Pure.

#include <optional>

#include "render/effect/source.h"

// The name of the matrix that screen quads set to the model-view-projection matrix.
inline constexpr const char SCREEN_QUAD_MATRIX[] = "projMat";

struct PassOutput {
  // The vertex program's last word on gl_Position is "projMat * gl_Vertex" (projMat being the
  // engine's screen matrix), "gl_ModelViewProjectionMatrix * gl_Vertex" or "ftransform()".
  bool placesQuadAsGiven = false;
  // No discard and a fragment program that ends by writing all of gl_FragColor.
  bool writesEveryFragment = false;
  // The alpha of that last write when it is a number in the code.
  std::optional<float> constantAlpha;
};

// Nothing known when the pass's programs cannot be built from source.
PassOutput ReadPassOutput(const EffectSource& source, const EffectPass& pass);
