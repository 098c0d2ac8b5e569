#pragma once
// Applies the states an effect assigns to GL and puts back what was there before: a pass leaves
// the engine's own fixed state (depth test, blending) as it found it.

#include <vector>

#include <GL/glew.h>

#include "render/effect/source.h"

// What a pass replaced, in the order it replaced it.
struct EffectSavedState {
  int state;
  double values[4];
};

// Records the current value of assignment's state into saved (when not null), then sets it.
void ApplyEffectState(const EffectStateAssignment& assignment, std::vector<EffectSavedState>* saved);

// Puts back everything in saved, last first, and empties it.
void RestoreEffectStates(std::vector<EffectSavedState>& saved);

// Sets a sampler_state entry on the texture bound to target on the active unit.
void ApplySamplerState(GLenum target, const EffectStateAssignment& assignment);
