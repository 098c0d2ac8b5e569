#include "demo/hidden_post_effects.h"

#include <algorithm>

namespace {

bool Samples(const PostEffectPassUse& pass, uint32_t texture) {
  return std::find(pass.samples.begin(), pass.samples.end(), texture) != pass.samples.end();
}

bool IsHidden(const std::vector<PostEffectStepUse>& steps, size_t step) {
  const uint32_t target = steps[step].target;
  for (size_t later = step + 1; later < steps.size(); ++later) {
    for (const PostEffectPassUse& pass : steps[later].passes) {
      if (Samples(pass, target)) return false;
      if (steps[later].target == target) return pass.replacesTarget;
    }
  }
  return false;
}

}  // namespace

std::vector<bool> FindHiddenPostEffects(const std::vector<PostEffectStepUse>& steps) {
  std::vector<bool> hidden(steps.size());
  for (size_t step = 0; step < steps.size(); ++step) hidden[step] = IsHidden(steps, step);
  return hidden;
}
