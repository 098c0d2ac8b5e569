#include "demo/screen_buffer_use.h"

ScreenBufferUse ScreenBufferUse::All() {
  ScreenBufferUse use;
  use.lines.fill(true);
  use.work.fill(true);
  return use;
}

ScreenBufferUse DecideScreenBufferUse(const SceneLineTable& lines, const std::vector<PostEffectEntry>& postEffects) {
  ScreenBufferUse use;
  for (int line = 0; line < SCENE_LINE_COUNT; ++line) use.lines[line] = lines.SlotCount(line) > 0;
  for (const PostEffectEntry& entry : postEffects) {
    const bool draws = entry.effect && entry.startTime <= entry.endTime;
    if (draws && entry.renderTarget >= 0 && entry.renderTarget < POST_EFFECT_BUFFER_COUNT) use.work[entry.renderTarget] = true;
  }
  return use;
}
