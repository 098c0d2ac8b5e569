#include "files/content_folder.h"

#include <fstream>
#include <iterator>
#include <map>
#include <system_error>

#include "core/log.h"
#include "files/model_cache_writer.h"
#include "files/mqo_model.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view MODEL_CACHE_EXTENSION = ".bmdl";
constexpr std::string_view MQO_EXTENSION = ".mqo";

fs::path& Folder() {
  static fs::path folder;
  return folder;
}

// A document is converted once per version: loading a model opens its cache more than once.
struct Conversion {
  fs::file_time_type written;
  uintmax_t size = 0;
  bool done = false;
  LooseBytes cache;  // null when the version does not convert
};

std::map<fs::path, Conversion>& Conversions() {
  static std::map<fs::path, Conversion> conversions;
  return conversions;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// DIR/models/NAME.mqo for the entry data\model\NAME.bmdl or data\model\NAME.mqo; empty for any
// other name.
fs::path ModelSource(std::string_view name) {
  std::string_view folder = CONTENT_MODEL_PACK_FOLDER;
  if (Folder().empty() || name.substr(0, folder.size()) != folder) return {};
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
  return Folder() / CONTENT_MODELS_FOLDER / (std::string(stem) + std::string(MQO_EXTENSION));
}

LooseBytes ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  auto bytes = std::make_shared<std::vector<uint8_t>>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return nullptr;
  return bytes;
}

bool IsRegularFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// The written time of path; false when it cannot be read.
bool WrittenTime(const fs::path& path, fs::file_time_type& time) {
  std::error_code error;
  time = fs::last_write_time(path, error);
  return !error;
}

// Whether the document beside a model cache is what the cache must come from.
bool DocumentIsNewer(const fs::path& document, const fs::path& cache) {
  fs::file_time_type documentTime;
  if (!IsRegularFile(document) || !WrittenTime(document, documentTime)) return false;
  fs::file_time_type cacheTime;
  if (!IsRegularFile(cache) || !WrittenTime(cache, cacheTime)) return true;
  return documentTime > cacheTime;
}

LooseBytes ConvertedDocument(const fs::path& document, const std::string& name) {
  std::error_code error;
  fs::file_time_type written = fs::last_write_time(document, error);
  uintmax_t size = fs::file_size(document, error);
  if (error) return nullptr;
  Conversion& known = Conversions()[document];
  if (known.done && known.written == written && known.size == size) return known.cache;
  LooseBytes text = ReadWholeFile(document);
  if (!text) return nullptr;
  auto cache = std::make_shared<std::vector<uint8_t>>();
  std::string reason;
  known = {written, size, true, nullptr};
  if (!ConvertMqoEntry(*text, name, *cache, reason)) {
    Log(LogLevel::Error, "files", "%s: %s", document.string().c_str(), reason.c_str());
    return nullptr;
  }
  known.cache = cache;
  return cache;
}

}  // namespace

void SetLooseContentFolder(const fs::path& folder) {
  Folder() = folder;
  Conversions().clear();
}

const fs::path& LooseContentFolder() { return Folder(); }

fs::path LooseFilePath(std::string_view name) {
  // Only the pack's own separator: a name the player would not find must not be found loose.
  if (Folder().empty() || name.empty() || name.find('/') != std::string_view::npos) return {};
  fs::path path = Folder();
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('\\', start);
    if (end == std::string_view::npos) end = name.size();
    std::string_view component = name.substr(start, end - start);
    if (component == "..") return {};
    if (!component.empty() && component != ".") path /= std::string(component);
    start = end + 1;
  }
  return path;
}

std::string PackNameOfLooseFile(const fs::path& file) {
  if (Folder().empty()) return {};
  fs::path relative = file.lexically_relative(Folder());
  if (relative.empty() || *relative.begin() == "..") return {};
  // A source of the build's models folder stands for the document of its cache.
  if (relative.parent_path() == CONTENT_MODELS_FOLDER && relative.extension() == MQO_EXTENSION) {
    return CONTENT_MODEL_PACK_FOLDER + relative.filename().string();
  }
  std::string name;
  for (const fs::path& component : relative) {
    if (component == ".") continue;
    name += (name.empty() ? "" : "\\") + component.string();
  }
  return name;
}

bool LooseEntryExists(const std::string& name) {
  fs::path source = ModelSource(name);
  if (!source.empty() && IsRegularFile(source)) return true;
  fs::path path = LooseFilePath(name);
  if (path.empty()) return false;
  if (IsRegularFile(path)) return true;
  if (!EndsWith(name, MODEL_CACHE_EXTENSION)) return false;
  return IsRegularFile(path.replace_extension(MQO_EXTENSION));
}

LooseBytes ReadLooseEntry(const std::string& name) {
  if (Folder().empty()) return nullptr;
  fs::path source = ModelSource(name);
  if (EndsWith(name, MODEL_CACHE_EXTENSION) && !source.empty() && IsRegularFile(source)) {
    return ConvertedDocument(source, name);
  }
  fs::path path = LooseFilePath(name);
  if (path.empty()) return nullptr;
  if (EndsWith(name, MODEL_CACHE_EXTENSION)) {
    fs::path document = path;
    document.replace_extension(MQO_EXTENSION);
    if (DocumentIsNewer(document, path)) return ConvertedDocument(document, name);
  }
  return IsRegularFile(path) ? ReadWholeFile(path) : nullptr;
}

bool ConvertMqoEntry(const std::vector<uint8_t>& text, const std::string& name, std::vector<uint8_t>& cache,
                     std::string& error) {
  size_t separator = name.find_last_of("\\/");
  std::string packDirectory = separator == std::string::npos ? MQO_DEFAULT_PACK_DIRECTORY : name.substr(0, separator + 1);
  for (char& c : packDirectory) {
    if (c == '/') c = '\\';
  }
  MqoDocument document;
  ModelData model;
  if (!ParseMqo(text.data(), text.size(), document, error) || !ConvertMqo(document, packDirectory, model, error)) {
    return false;
  }
  cache = WriteModelCache(model);
  return true;
}
