#include "resources/custom_texture_manager.h"

#include "core/log.h"
#include "render/shader_manager.h"
#include "render/texture_manager.h"
#include "resources/effect_definition_file.h"
#include "resources/res_shader.h"
#include "resources/res_texture.h"
#include "resources/resource_manager.h"

CORE_IMPLEMENT_MANAGER(customTextureManager)

namespace {

// The definition's name differs from the file's.
constexpr char ROOT_NAME[] = "shaderTextureDefine";

}  // namespace

customTextureManager::~customTextureManager() { Clear(); }

void customTextureManager::Clear() {
  for (CustomTextureEntry& entry : mEntries) {
    if (entry.texture) entry.texture->Release();
  }
  mEntries.clear();
  mNotes.clear();
}

bool customTextureManager::loadDefinitions() {
  Clear();
  const XmlElement root = OpenDefinitionRoot(CUSTOM_TEXTURE_DEFINE_PATH, ROOT_NAME);
  if (root.IsEmpty()) return false;
  ReadCustomTextureEntries(root, mEntries, mNotes);
  for (const std::string& note : mNotes) Log(LogLevel::Warning, "customtexture", "%s: %s", CUSTOM_TEXTURE_DEFINE_PATH, note.c_str());
  for (CustomTextureEntry& entry : mEntries) {
    resourceObject* resource = gResourceManager.GetResource(entry.path.c_str());
    entry.texture = dynamic_cast<resTexture*>(resource);
    if (!entry.texture && resource) resource->Release();
  }
  return true;
}

resShader* customTextureManager::bindTextures(resShader* effect) {
  resShader* previous = gShaderManager.GetCurrentEffect();
  if (effect && effect != previous) gShaderManager.SetCurrentEffect(effect);
  if (resShader* current = gShaderManager.GetCurrentEffect()) {
    for (const CustomTextureEntry& entry : mEntries) {
      const cTexture* texture = entry.texture ? entry.texture->GetTexture() : nullptr;
      if (!texture) continue;
      const unsigned name = gTextureManager.lookupName(texture);
      current->setParameter(entry.sampler.c_str(), &name);
    }
  }
  if (previous && previous != effect) gShaderManager.SetCurrentEffect(previous);
  return previous;
}
