#include "demo/scene_line_table.h"

bool SceneLineTable::Add(int32_t line, uint32_t startTime, uint32_t endTime, int entry, bool drawsAtEveryPhase) {
  if (!HasRoom(line)) return false;
  mSlots[line][mCounts[line]++] = {startTime, endTime, entry};
  if (!drawsAtEveryPhase) ++mScenesThatMayNotDraw;
  return true;
}

const SceneSlot* SceneLineTable::ActiveSlot(int line, uint32_t t) const {
  if (line < 0 || line >= SCENE_LINE_COUNT) return nullptr;
  for (int slot = 0; slot < mCounts[line]; ++slot) {
    const SceneSlot& candidate = mSlots[line][slot];
    if (candidate.startTime <= t && t <= candidate.endTime) return &candidate;
  }
  return nullptr;
}

int SceneLineTable::SlotCount(int line) const {
  return line < 0 || line >= SCENE_LINE_COUNT ? 0 : mCounts[line];
}

void SceneLineTable::Clear() {
  mCounts.fill(0);
  mScenesThatMayNotDraw = 0;
}

float ScenePhase(uint32_t t, uint32_t startTime, uint32_t endTime) {
  if (endTime == startTime) return 0.0f;
  return static_cast<float>(t - startTime) / static_cast<float>(endTime - startTime);
}
