#pragma once
// customTextureManager: the named textures of "data\definition\customTextureDefine.xml", each
// bound on request to its sampler parameter in an effect (post-effects and models ask before
// they draw).

#include <string>
#include <vector>

#include "core/manager.h"
#include "resources/custom_texture_entry.h"

class resShader;

inline constexpr const char CUSTOM_TEXTURE_DEFINE_PATH[] = "data\\definition\\customTextureDefine.xml";

class customTextureManager : public Interface<customTextureManager> {
  CORE_DECLARE_MANAGER(customTextureManager)
  uint16_t GetPriority() const override { return 1; }
  // Releases every held texture.
  ~customTextureManager() override;

  // Reads the definition file and loads every entry's image, replacing what was loaded before.
  // False (with no entries) when the file does not parse or its root is not named
  // "shaderTextureDefine...".
  bool loadDefinitions();

  // Binds every entry's texture to its sampler on effect (made current for the call; null means
  // the current effect). The effect current before stays current afterwards; it is returned.
  resShader* bindTextures(resShader* effect);

  const std::vector<CustomTextureEntry>& Entries() const { return mEntries; }
  // Why entries were left out by the last load, one line each.
  const std::vector<std::string>& LoadNotes() const { return mNotes; }
  // Releases every held texture and forgets the entries.
  void Clear();

 private:
  std::vector<CustomTextureEntry> mEntries;
  std::vector<std::string> mNotes;
};
CORE_DECLARE_MANAGER_RECORD(customTextureManager);

extern customTextureManager gCustomTextureManager;
