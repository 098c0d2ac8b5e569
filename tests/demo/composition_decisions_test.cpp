// The decisions frame composition takes from the definitions and from each frame's post-effects:
// which buffers need storage, and which post-effects draw nothing anyone sees.
#include <gtest/gtest.h>

#include "demo/hidden_post_effects.h"
#include "demo/screen_buffer_use.h"
#include "resources/res_shader.h"

namespace {

constexpr uint32_t FINAL = 100;  // texture names of the targets
constexpr uint32_t WORK0 = 200;
constexpr uint32_t WORK1 = 201;
constexpr uint32_t LINE0 = 300;

PostEffectPassUse Replacing(std::vector<uint32_t> samples = {}) { return {std::move(samples), true}; }
PostEffectPassUse Blending(std::vector<uint32_t> samples = {}) { return {std::move(samples), false}; }

struct HiddenCase {
  const char* what;
  std::vector<PostEffectStepUse> steps;
  std::vector<bool> hidden;
};

TEST(HiddenPostEffects, AStepIsHiddenOnlyWhenALaterPassReplacesItsTargetBeforeAnythingSamplesIt) {
  const HiddenCase cases[] = {
      {"glow overwritten by a flash that reads the work buffer",
       {{WORK0, {Replacing({LINE0})}}, {FINAL, {Replacing({WORK0}), Blending({WORK0})}}, {FINAL, {Replacing({WORK0})}}},
       {false, true, false}},
      {"the later pass samples the target first", {{FINAL, {Replacing()}}, {FINAL, {Replacing({FINAL})}}}, {false, false}},
      {"the later pass blends onto the target", {{FINAL, {Replacing()}}, {FINAL, {Blending()}}}, {false, false}},
      {"a step between samples the target", {{WORK0, {Replacing()}}, {WORK1, {Replacing({WORK0})}}, {WORK0, {Replacing()}}},
       {false, false, false}},
      {"a step between writes elsewhere without sampling", {{WORK0, {Replacing()}}, {WORK1, {Replacing({LINE0})}}, {WORK0, {Replacing()}}},
       {true, false, false}},
      {"a later step's first pass replaces, its second samples its own result",
       {{WORK0, {Replacing()}}, {WORK0, {Replacing(), Blending({WORK0})}}}, {true, false}},
      {"a later step's first pass blends, its second replaces", {{WORK0, {Replacing()}}, {WORK0, {Blending(), Replacing()}}},
       {false, false}},
      {"work buffers keep their picture into the next frame", {{WORK0, {Replacing()}}, {FINAL, {Replacing()}}}, {false, false}},
      {"a step of no passes hides nothing", {{FINAL, {Replacing()}}, {FINAL, {}}}, {false, false}},
      {"three steps on one target: only the last is seen",
       {{FINAL, {Blending()}}, {FINAL, {Replacing()}}, {FINAL, {Replacing()}}}, {true, true, false}},
      {"nothing at all", {}, {}},
  };
  for (const HiddenCase& c : cases) EXPECT_EQ(FindHiddenPostEffects(c.steps), c.hidden) << c.what;
}

PostEffectEntry Entry(int32_t target, resShader* effect, uint32_t start = 0, uint32_t end = 1000) {
  PostEffectEntry entry;
  entry.renderTarget = target;
  entry.startTime = start;
  entry.endTime = end;
  entry.effect = effect;
  return entry;
}

TEST(ScreenBufferUse, OnlyLinesWithScenesAndWorkBuffersThatEntriesDrawIntoAreUsed) {
  SceneLineTable lines;
  lines.Add(0, 0, 1000, 0);
  lines.Add(0, 500, 2000, 1);
  lines.Add(7, 0, 10, 2, false);
  resShader effect;  // never loaded: only whether an entry has one matters
  const std::vector<PostEffectEntry> entries = {Entry(3, &effect), Entry(POST_EFFECT_FINAL_TARGET, &effect),
                                                Entry(5, nullptr), Entry(6, &effect, 2000, 1000), Entry(9, &effect)};
  const ScreenBufferUse use = DecideScreenBufferUse(lines, entries);
  for (int i = 0; i < SCENE_LINE_COUNT; ++i) EXPECT_EQ(use.lines[i], i == 0 || i == 7) << "line " << i;
  for (int i = 0; i < POST_EFFECT_BUFFER_COUNT; ++i) {
    EXPECT_EQ(use.work[i], i == 3 || i == 9) << "work buffer " << i << " (5 has no effect, 6 a window that never opens)";
  }
  EXPECT_EQ(DecideScreenBufferUse(SceneLineTable{}, {}), ScreenBufferUse{});
  EXPECT_TRUE(ScreenBufferUse::All().lines[9] && ScreenBufferUse::All().work[0]);
}

TEST(SceneLineTable, RemembersWhetherEverySceneDrawsAtEveryPhase) {
  SceneLineTable lines;
  EXPECT_TRUE(lines.EverySceneDraws());
  lines.Add(1, 0, 10, 0);
  EXPECT_TRUE(lines.EverySceneDraws());
  EXPECT_FALSE(lines.Add(10, 0, 10, 1, false)) << "refused scenes do not count";
  EXPECT_TRUE(lines.EverySceneDraws());
  lines.Add(2, 0, 10, 2, false);
  EXPECT_FALSE(lines.EverySceneDraws());
  lines.Clear();
  EXPECT_TRUE(lines.EverySceneDraws());
}

}  // namespace
