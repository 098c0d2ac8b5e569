#include "files/mqo_conversion.h"

#include "files/model_cache_writer.h"
#include "files/mqo_model.h"

namespace files {

bool ConvertMqoText(const uint8_t* text, size_t size, const std::string& packDirectory, MqoConversion& out,
                    std::string& error) {
  out = MqoConversion{};
  if (!ParseMqo(text, size, out.document, error, &out.errorLine) ||
      !ConvertMqo(out.document, packDirectory, out.model, error, &out.errorLine)) {
    return false;
  }
  for (const MqoMaterial& material : out.document.materials) out.materialNames.push_back(material.name);
  out.cache = WriteModelCache(out.model);
  return true;
}

std::string PackDirectoryOfEntry(const std::string& name) {
  size_t separator = name.find_last_of("\\/");
  std::string directory = separator == std::string::npos ? MQO_DEFAULT_PACK_DIRECTORY : name.substr(0, separator + 1);
  for (char& c : directory) {
    if (c == '/') c = '\\';
  }
  return directory;
}

}  // namespace files
