#include "tools/capture/composition_steps.h"

#include <cstdio>
#include <set>
#include <string>

#include "demo/frame_composer.h"
#include "demo/scene_line_table.h"
#include "render/effect/draw_state.h"
#include "render/effect/effect.h"
#include "render/effect/states.h"
#include "resources/post_effect_manager.h"
#include "resources/res_shader.h"
#include "resources/resource_manager.h"

namespace {

int BufferOfTarget(int32_t renderTarget) {
  if (renderTarget == POST_EFFECT_FINAL_TARGET) return COMPOSITION_FINAL_BUFFER;
  if (renderTarget < 0 || renderTarget >= POST_EFFECT_BUFFER_COUNT) return COMPOSITION_NO_BUFFER;
  return COMPOSITION_WORK_BUFFER + renderTarget;
}

BufferMask BufferOfSource(const PostEffectSource& source) {
  if (source.index < 0 || source.index >= POST_EFFECT_BUFFER_COUNT) return 0;
  int first = source.set == POST_EFFECT_WORK_BUFFERS ? COMPOSITION_WORK_BUFFER : COMPOSITION_LINE_BUFFER;
  return BufferBit(first + source.index);
}

bool Declares(const cEffect& effect, const char* prefix, int index) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%d", prefix, index);
  return effect.FindParameter(name) >= 0;
}

// Whether the function or anything it calls contains a discard.
bool MayDiscard(const EffectSource& source, const std::string& entry) {
  std::set<std::string> seen;
  std::vector<std::string> pending{entry};
  while (!pending.empty()) {
    std::string name = pending.back();
    pending.pop_back();
    if (!seen.insert(name).second) continue;
    for (const EffectChunk& chunk : source.chunks) {
      if (chunk.kind != EffectChunk::Function || chunk.function != name) continue;
      if (source.code.substr(chunk.begin, chunk.end - chunk.begin).find("discard") != std::string::npos) return true;
      pending.insert(pending.end(), chunk.references.begin(), chunk.references.end());
    }
  }
  return false;
}

// A state left as the screen pass sets it draws every pixel; these change that when set.
bool StateKeepsPixels(const EffectStateAssignment& state) {
  switch (state.state) {
    case STATE_BLEND_ENABLE:
    case STATE_ALPHA_TEST_ENABLE:
    case STATE_STENCIL_TEST_ENABLE:
    case STATE_CULL_FACE_ENABLE:
      return state.values[0] != 0.0f;
    case STATE_COLOR_MASK:
      return state.values[0] == 0.0f || state.values[1] == 0.0f || state.values[2] == 0.0f || state.values[3] == 0.0f;
    case STATE_POLYGON_MODE:
      return !FillsPolygons(state.values[1]);
    default:
      return false;
  }
}

}  // namespace

BufferMask BuffersSampledByName(const cEffect& effect) {
  BufferMask mask = 0;
  for (int i = 0; i < POST_EFFECT_BUFFER_COUNT; ++i) {
    if (Declares(effect, "srcCBuf", i) || Declares(effect, "srcZBuf", i)) mask |= BufferBit(COMPOSITION_LINE_BUFFER + i);
    if (Declares(effect, "workBuf", i)) mask |= BufferBit(COMPOSITION_WORK_BUFFER + i);
  }
  return mask;
}

bool PassCoversTarget(const cEffect& effect, int pass) {
  int technique = effect.TechniqueIndex();
  if (technique < 0 || pass < 0 || pass >= effect.passCount()) return false;
  const EffectSource& source = effect.Source();
  const EffectPass& passSource = source.techniques[static_cast<size_t>(technique)].passes[static_cast<size_t>(pass)];
  // A later assignment of a state wins, so only the last one of each counts.
  std::vector<const EffectStateAssignment*> last(PASS_STATE_COUNT, nullptr);
  for (const EffectStateAssignment& state : passSource.states) {
    if (state.state >= 0 && state.state < PASS_STATE_COUNT) last[static_cast<size_t>(state.state)] = &state;
  }
  for (const EffectStateAssignment* state : last) {
    if (state && StateKeepsPixels(*state)) return false;
  }
  return !MayDiscard(source, passSource.fragmentEntry);
}

CompositionSteps::CompositionSteps(const SceneLineTable& lines) : mLines(lines) {
  for (size_t i = 0; i < gPostEffectManager.entryCount(); ++i) {
    const PostEffectEntry& entry = gPostEffectManager.Entry(i);
    EffectUse use = UseOf(entry.effect, BufferOfTarget(entry.renderTarget), gPostEffectManager.FirstPass(i));
    for (const PostEffectSource& source : entry.sources) use.reads |= BufferOfSource(source);
    mEntries.push_back(use);
  }
  // The composition holds the pass-through already; this only borrows it for a look.
  auto* passThrough = dynamic_cast<resShader*>(gResourceManager.GetResource(NULL_POST_EFFECT_PATH));
  if (passThrough) {
    mPassThrough = UseOf(passThrough, COMPOSITION_FINAL_BUFFER, 0);
    passThrough->Release();
  }
}

CompositionSteps::EffectUse CompositionSteps::UseOf(const resShader* effect, int target, int firstPass) {
  EffectUse use;
  use.target = target;
  const cEffect* compiled = effect ? effect->getEffect() : nullptr;
  if (compiled) use.reads = BuffersSampledByName(*compiled);
  if (!compiled || !PassCoversTarget(*compiled, firstPass)) use.reads |= BufferBit(target);
  return use;
}

std::vector<CompositionStep> CompositionSteps::At(uint32_t t) const {
  std::vector<CompositionStep> steps;
  for (int line = 0; line < SCENE_LINE_COUNT; ++line) {
    if (mLines.ActiveSlot(line, t)) steps.push_back({0, COMPOSITION_LINE_BUFFER + line});
  }
  bool anyRan = false;
  for (size_t i = 0; i < mEntries.size(); ++i) {
    if (!gPostEffectManager.activeEffect(i, t) || mEntries[i].target == COMPOSITION_NO_BUFFER) continue;
    steps.push_back({mEntries[i].reads, mEntries[i].target});
    anyRan = true;
  }
  if (!anyRan && mPassThrough.target != COMPOSITION_NO_BUFFER) steps.push_back({mPassThrough.reads, mPassThrough.target});
  steps.push_back({BufferBit(COMPOSITION_FINAL_BUFFER), COMPOSITION_NO_BUFFER});
  return steps;
}
