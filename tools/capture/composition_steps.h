#pragma once
// The frame composition at a demo time as steps that read and write its buffers, for the warm-up
// plan: an active line draws its buffer afresh (the scene clears it); a post-effect that runs reads
// every buffer its effect can sample or is bound to, and its target as well unless the first pass
// it runs covers every pixel (no blending, alpha or stencil test, colour mask, culling, polygon
// mode or discard); the pass-through runs when no post-effect does; the final screen reads the
// final buffer.

#include <cstdint>
#include <vector>

#include "tools/capture/warm_up_plan.h"

class cEffect;
class resShader;
class SceneLineTable;

// The buffers an effect declares a sampler for by the composition's names ("srcCBuf3",
// "srcZBuf3", "workBuf3").
BufferMask BuffersSampledByName(const cEffect& effect);

// Whether pass `pass` of the effect, drawn over the whole target, replaces every pixel of it.
bool PassCoversTarget(const cEffect& effect, int pass);

class CompositionSteps {
 public:
  // Reads the loaded timeline and post-effect chain of the started demo.
  explicit CompositionSteps(const SceneLineTable& lines);
  std::vector<CompositionStep> At(uint32_t t) const;

 private:
  struct EffectUse {
    BufferMask reads = 0;
    int target = COMPOSITION_NO_BUFFER;
  };
  static EffectUse UseOf(const resShader* effect, int target, int firstPass);

  const SceneLineTable& mLines;
  std::vector<EffectUse> mEntries;  // per post-effect entry, in the manager's order
  EffectUse mPassThrough;
};
