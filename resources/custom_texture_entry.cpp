#include "resources/custom_texture_entry.h"

void ReadCustomTextureEntries(const XmlElement& root, std::vector<CustomTextureEntry>& entries,
                              std::vector<std::string>& notes) {
  const int count = root.ChildCount("TextureEntry");
  for (int i = 0; i < count; ++i) {
    const XmlElement element = root.Child("TextureEntry", i);
    const char* sampler = element.Attribute("sampler");
    const char* path = element.Attribute("path");
    if (!sampler || !path || !*sampler || !*path) {
      notes.push_back("TextureEntry " + std::to_string(i) + " lacks \"sampler\" or \"path\"; entry skipped");
      continue;
    }
    entries.push_back({path, sampler, nullptr});
  }
}
