// The post-effect and custom-texture definition readers over any XML tree.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "files/definition_xml.h"
#include "resources/custom_texture_entry.h"
#include "resources/post_effect_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const XmlParseResult parsed = ParseXmlText(text.c_str(), text.size(), DEFINITION_ROOT_TAG);
  if (parsed.code != 0) return 0;
  std::vector<std::string> notes;
  std::vector<PostEffectEntry> postEffects;
  ReadPostEffectEntries(parsed.root, postEffects, notes);
  SortPostEffectEntries(postEffects);
  std::vector<CustomTextureEntry> textures;
  ReadCustomTextureEntries(parsed.root, textures, notes);
  return 0;
}
