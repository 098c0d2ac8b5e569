#include "files/content_layout.h"

namespace fs = std::filesystem;

namespace files {

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string PackNameOfRelativePath(const fs::path& relative) {
  std::string name;
  for (const fs::path& component : relative) {
    if (component == "." || component.empty()) continue;
    name += (name.empty() ? "" : "\\") + component.string();
  }
  return name;
}

std::string ModelCacheNameOfSource(const fs::path& source) {
  return CONTENT_MODEL_PACK_FOLDER + source.stem().string() + std::string(MODEL_CACHE_EXTENSION);
}

fs::path ModelSourceOfEntry(std::string_view name) {
  std::string_view folder = CONTENT_MODEL_PACK_FOLDER;
  if (name.substr(0, folder.size()) != folder) return {};
  std::string_view file = name.substr(folder.size());
  if (file.empty() || file.find_first_of("\\/") != std::string_view::npos) return {};
  std::string_view stem = file;
  if (EndsWith(file, MODEL_CACHE_EXTENSION)) {
    stem = file.substr(0, file.size() - MODEL_CACHE_EXTENSION.size());
  } else if (EndsWith(file, MQO_EXTENSION)) {
    stem = file.substr(0, file.size() - MQO_EXTENSION.size());
  } else {
    return {};
  }
  if (stem.empty() || stem == "." || stem == "..") return {};
  return fs::path(CONTENT_MODELS_FOLDER) / (std::string(stem) + std::string(MQO_EXTENSION));
}

}  // namespace files
