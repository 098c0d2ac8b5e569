#pragma once
// Which screen buffers a production draws into, decided from its definitions: the line buffers of
// lines that have a scene and the work buffers that a post-effect entry renders to. Only those
// need storage at the screen size; every other one can stand in with a shared 1 × 1 blank
// texture, since an effect that samples a buffer nothing draws into sees the same zeros either
// way. Pure, so that a reload of the definitions can decide again.

#include <array>
#include <vector>

#include "demo/scene_line_table.h"
#include "resources/post_effect_entry.h"

struct ScreenBufferUse {
  std::array<bool, SCENE_LINE_COUNT> lines{};          // colour and depth
  std::array<bool, POST_EFFECT_BUFFER_COUNT> work{};   // colour

  static ScreenBufferUse All();
  bool operator==(const ScreenBufferUse&) const = default;
};

// An entry draws only with an effect and a window that t can fall into (start <= end).
ScreenBufferUse DecideScreenBufferUse(const SceneLineTable& lines, const std::vector<PostEffectEntry>& postEffects);
