#include "resources/post_effect_manager.h"

#include "core/log.h"
#include "render/screen_buffer.h"
#include "render/shader_manager.h"
#include "render/texture.h"
#include "render/texture_manager.h"
#include "resources/effect_definition_file.h"
#include "resources/res_shader.h"
#include "resources/resource_manager.h"

CORE_IMPLEMENT_MANAGER(cPostEffectManager)

namespace {

constexpr char ROOT_NAME[] = "postEffectDefine";

// The texture a source binding names, or null when it names no buffer.
cTexture* SourceTexture(const PostEffectSource& source, cScreenBuffer* const* lineBuffers,
                        cScreenBuffer* const* workBuffers) {
  if (source.index < 0 || source.index >= POST_EFFECT_BUFFER_COUNT) return nullptr;
  cScreenBuffer* const* buffers = source.set == POST_EFFECT_WORK_BUFFERS ? workBuffers : lineBuffers;
  cScreenBuffer* buffer = buffers ? buffers[source.index] : nullptr;
  if (!buffer) return nullptr;
  if (source.kind == POST_EFFECT_COLOR) return buffer->GetColor();
  if (source.kind != POST_EFFECT_DEPTH) return nullptr;
  // Work buffers have no depth: their colour stands in.
  return source.set == POST_EFFECT_WORK_BUFFERS ? buffer->GetColor() : buffer->GetDepth();
}

}  // namespace

bool cPostEffectManager::Terminate() {
  ReleaseAll();
  return true;
}

void cPostEffectManager::ReleaseAll() {
  for (resShader* effect : mHeld) effect->Release();
  mHeld.clear();
  mEntries.clear();
  mNotes.clear();
}

bool cPostEffectManager::loadDefinitions() {
  ReleaseAll();
  const XmlElement root = OpenDefinitionRoot(POST_EFFECT_DEFINE_PATH, ROOT_NAME);
  if (root.IsEmpty()) return false;
  ReadPostEffectEntries(root, mEntries, mNotes);
  for (const std::string& note : mNotes) Log(LogLevel::Warning, "posteffect", "%s: %s", POST_EFFECT_DEFINE_PATH, note.c_str());
  SortPostEffectEntries(mEntries);
  for (PostEffectEntry& entry : mEntries) {
    const std::string path = "data\\shader\\" + entry.shader + ".cgfx";
    resourceObject* resource = gResourceManager.GetResource(path.c_str());
    entry.effect = dynamic_cast<resShader*>(resource);
    if (entry.effect) {
      mHeld.push_back(entry.effect);
    } else if (resource) {
      resource->Release();
    }
  }
  return true;
}

resShader* cPostEffectManager::activeEffect(size_t i, uint32_t t) const {
  if (i >= mEntries.size()) return nullptr;
  const PostEffectEntry& e = mEntries[i];
  return t < e.startTime || t > e.endTime || !e.enabled ? nullptr : e.effect;
}

float cPostEffectManager::progress(size_t i, uint32_t t) const {
  if (i >= mEntries.size()) return 0.0f;
  const PostEffectEntry& e = mEntries[i];
  if (t < e.startTime || t > e.endTime) return 0.0f;
  return static_cast<float>(t - e.startTime) / static_cast<float>(e.endTime - e.startTime);
}

void cPostEffectManager::applyParameters(size_t i, cScreenBuffer* const* lineBuffers,
                                         cScreenBuffer* const* workBuffers) const {
  if (i >= mEntries.size()) return;
  const PostEffectEntry& e = mEntries[i];
  if (e.effect) gShaderManager.SetCurrentEffect(e.effect);
  resShader* current = gShaderManager.GetCurrentEffect();
  if (!current) return;
  for (const PostEffectConstant& constant : e.constants) {
    if (mTracks && !constant.track.empty()) {
      float values[4];
      KeyedValues(constant, *mTracks, mTrackRow, values);
      current->setParameter(constant.param.c_str(), values);
    } else {
      current->setParameter(constant.param.c_str(), constant.values);
    }
  }
  for (const PostEffectSource& source : e.sources) {
    const cTexture* texture = SourceTexture(source, lineBuffers, workBuffers);
    if (!texture) continue;
    const unsigned name = gTextureManager.lookupName(texture);
    current->setParameter(source.param.c_str(), &name);
  }
}

void cPostEffectManager::UseTracks(const SyncDocument* tracks, double row) {
  mTracks = tracks;
  mTrackRow = row;
}

int cPostEffectManager::FirstPass(size_t i) const {
  return mEntries[i].execPass == POST_EFFECT_ALL_PASSES ? 0 : mEntries[i].execPass;
}

int cPostEffectManager::PassEnd(size_t i) const {
  if (mEntries[i].execPass != POST_EFFECT_ALL_PASSES) return mEntries[i].execPass + 1;
  return mEntries[i].effect ? mEntries[i].effect->passCount() : 0;
}
