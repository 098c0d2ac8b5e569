#include "files/content_folder.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "core/log.h"
#include "files/content_layout.h"
#include "files/mqo_conversion.h"

namespace fs = std::filesystem;

namespace files {

namespace {

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

}  // namespace

ContentFolder::ContentFolder(fs::path root) : mRoot(std::move(root)) {}

LooseBytes ContentFolder::Converted(const fs::path& document, const std::string& name) const {
  std::error_code error;
  fs::file_time_type written = fs::last_write_time(document, error);
  uintmax_t size = fs::file_size(document, error);
  if (error) return nullptr;
  auto known = mConversions.find(document);
  if (known != mConversions.end() && known->second.written == written && known->second.size == size) return known->second.cache;
  LooseBytes text = ReadWholeFile(document);
  if (!text) return nullptr;
  Conversion& conversion = mConversions[document];
  conversion = {written, size, nullptr};
  MqoConversion converted;
  std::string reason;
  if (!ConvertMqoText(text->data(), text->size(), PackDirectoryOfEntry(name), converted, reason)) {
    Log(LogLevel::Error, "files", "%s: %s", document.string().c_str(), reason.c_str());
    return nullptr;
  }
  conversion.cache = std::make_shared<const std::vector<uint8_t>>(std::move(converted.cache));
  return conversion.cache;
}

fs::path ContentFolder::FilePath(std::string_view name) const {
  // Only the pack's own separator: a name the player would not find must not be found loose.
  if (name.empty() || name.find('/') != std::string_view::npos) return {};
  fs::path path = mRoot;
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

std::string ContentFolder::PackNameOf(const fs::path& file) const {
  fs::path relative = file.lexically_relative(mRoot);
  if (relative.empty() || *relative.begin() == "..") return {};
  // A source of the build's models folder stands for the document of its cache.
  if (relative.parent_path() == CONTENT_MODELS_FOLDER && relative.extension() == MQO_EXTENSION) {
    return CONTENT_MODEL_PACK_FOLDER + relative.filename().string();
  }
  return PackNameOfRelativePath(relative);
}

bool ContentFolder::Has(const std::string& name) const {
  fs::path source = ModelSourceOfEntry(name);
  if (!source.empty() && IsRegularFile(mRoot / source)) return true;
  fs::path path = FilePath(name);
  if (path.empty()) return false;
  if (IsRegularFile(path)) return true;
  if (!EndsWith(name, MODEL_CACHE_EXTENSION)) return false;
  return IsRegularFile(path.replace_extension(MQO_EXTENSION));
}

LooseBytes ContentFolder::Read(const std::string& name) const {
  fs::path source = ModelSourceOfEntry(name);
  if (EndsWith(name, MODEL_CACHE_EXTENSION) && !source.empty() && IsRegularFile(mRoot / source)) {
    return Converted(mRoot / source, name);
  }
  fs::path path = FilePath(name);
  if (path.empty()) return nullptr;
  if (EndsWith(name, MODEL_CACHE_EXTENSION)) {
    fs::path document = path;
    document.replace_extension(MQO_EXTENSION);
    if (DocumentIsNewer(document, path)) return Converted(document, name);
  }
  return IsRegularFile(path) ? ReadWholeFile(path) : nullptr;
}

}  // namespace files
