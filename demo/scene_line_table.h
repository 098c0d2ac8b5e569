#pragma once
// The per-line scene table: for each of the ten lines, up to 32 scenes in definition order, and
// the activity rule that picks the one scene a line shows at a demo time.

#include <array>
#include <cstdint>

constexpr int SCENE_LINE_COUNT = 10;
constexpr int SCENE_LINE_SLOTS = 32;

struct SceneSlot {
  uint32_t startTime;  // ms of demo time, inclusive
  uint32_t endTime;    // ms of demo time, inclusive
  int entry;           // index of the scene line entry in definition order
};

class SceneLineTable {
 public:
  // Puts a scene in the next free slot of its line. A line outside 0 to 9 or a 33rd scene on one
  // line would fall outside the table: the scene is refused (false) and never drawn.
  // drawsAtEveryPhase: the scene clears and draws its buffer at every phase of its span (a scene
  // that may leave its buffer untouched passes false).
  bool Add(int32_t line, uint32_t startTime, uint32_t endTime, int entry, bool drawsAtEveryPhase = true);
  // The first slot of the line, in definition order, whose span holds t (both ends inclusive).
  const SceneSlot* ActiveSlot(int line, uint32_t t) const;
  int SlotCount(int line) const;
  // True when Add would take a scene on line.
  bool HasRoom(int32_t line) const { return line >= 0 && line < SCENE_LINE_COUNT && mCounts[line] < SCENE_LINE_SLOTS; }
  // False once a scene that may leave its buffer untouched was added.
  bool EverySceneDraws() const { return mScenesThatMayNotDraw == 0; }
  const SceneSlot& Slot(int line, int slot) const { return mSlots[line][slot]; }
  void Clear();

 private:
  std::array<std::array<SceneSlot, SCENE_LINE_SLOTS>, SCENE_LINE_COUNT> mSlots{};
  std::array<int, SCENE_LINE_COUNT> mCounts{};
  int mScenesThatMayNotDraw = 0;
};

// (t - start) / (end - start) as a float; a span of zero length gives 0 instead of 0 / 0.
float ScenePhase(uint32_t t, uint32_t startTime, uint32_t endTime);
