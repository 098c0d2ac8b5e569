#pragma once
// The entries of the custom-texture definition file, read from its XML tree. Pure: the textures
// themselves are loaded by customTextureManager.

#include <string>
#include <vector>

#include "files/xml_element.h"

class resTexture;

struct CustomTextureEntry {
  std::string path;     // pack path of the image
  std::string sampler;  // effect parameter to bind it to
  resTexture* texture = nullptr;  // one reference held by the manager, or null
};

// Appends root's "TextureEntry" children to entries in document order. An entry without "sampler"
// or "path" could bind nothing; it is left out with a line in notes.
void ReadCustomTextureEntries(const XmlElement& root, std::vector<CustomTextureEntry>& entries,
                              std::vector<std::string>& notes);
