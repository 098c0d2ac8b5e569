#pragma once
// Which post-effect entries of a frame change no pixel that anyone sees: an entry whose target a
// later pass replaces completely, without sampling it, before any pass samples it. The final
// buffer is shown and work buffers keep their pictures into the next frame, so a target that no
// later pass replaces stays visible. Decided per frame from the entries that run. Pure.

#include <cstdint>
#include <vector>

struct PostEffectPassUse {
  std::vector<uint32_t> samples;  // GL names of the textures the pass samples
  bool replacesTarget = false;    // sets every pixel of its target without regard to what was there
};

struct PostEffectStepUse {
  uint32_t target = 0;  // GL name of the target's colour texture
  std::vector<PostEffectPassUse> passes;
};

// One flag per step, in order: true when nothing the step draws can be seen.
std::vector<bool> FindHiddenPostEffects(const std::vector<PostEffectStepUse>& steps);
