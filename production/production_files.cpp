#include "production/production_files.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "files/entry_text.h"
#include "files/model_cache.h"
#include "files/pack_file.h"

int LineOfText(const std::string& text, const std::string& needle) {
  size_t at = needle.empty() ? std::string::npos : text.find(needle);
  if (at == std::string::npos) return 0;
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

bool ProductionFiles::ReadModel(const std::string& cachePath, ProductionModel& model, std::string& error) const {
  std::string bytes;
  if (!Read(cachePath, bytes)) {
    error = "it is missing";
    return false;
  }
  if (!ParseModelCache(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), model.data)) {
    error = "it is not a model cache the player reads (cut short, damaged or of another format)";
    return false;
  }
  return true;
}

int ProductionFiles::LineOf(const std::string& path, const std::string& text) const {
  std::string bytes;
  return Read(path, bytes) ? LineOfText(bytes, text) : 0;
}

OpenPackFiles::OpenPackFiles(std::string name) : mName(std::move(name)) {}

std::vector<std::string> OpenPackFiles::Names() const {
  std::vector<std::string> names;
  for (const PackEntry& entry : PackageTable().Entries()) names.emplace_back(PackEntryName(entry));
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

bool OpenPackFiles::Has(const std::string& path) const { return PackageTable().Find(path) != nullptr; }

bool OpenPackFiles::Read(const std::string& path, std::string& bytes) const {
  if (!Has(path)) return false;
  bytes = ReadEntryText(path.c_str());
  return true;
}
