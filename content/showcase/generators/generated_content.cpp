#include "content/showcase/generators/generated_content.h"

#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

void GeneratedContent::Add(const std::string& relativePath, std::vector<uint8_t> bytes) { mFiles[relativePath] = std::move(bytes); }

void GeneratedContent::Add(const std::string& relativePath, const std::string& text) {
  mFiles[relativePath] = std::vector<uint8_t>(text.begin(), text.end());
}

bool GeneratedContent::AddTree(const fs::path& source, const std::string& prefix, std::string& error) {
  std::error_code code;
  for (fs::recursive_directory_iterator it(source, code), end; !code && it != end; it.increment(code)) {
    if (it->is_regular_file()) Add(prefix + it->path().lexically_relative(source).generic_string(), ReadBytes(it->path()));
  }
  if (code) error = source.string() + ": " + code.message();
  return !code;
}

bool GeneratedContent::WriteTo(const fs::path& root, std::string& error) const {
  std::error_code code;
  std::vector<fs::path> stale;
  if (fs::exists(root)) {
    for (fs::recursive_directory_iterator it(root, code), end; !code && it != end; it.increment(code)) {
      if (it->is_regular_file() && !mFiles.count(it->path().lexically_relative(root).generic_string())) stale.push_back(it->path());
    }
  }
  for (const fs::path& path : stale) fs::remove(path, code);
  for (const auto& [relative, bytes] : mFiles) {
    fs::path path = root / relative;
    if (fs::exists(path) && ReadBytes(path) == bytes) continue;
    fs::create_directories(path.parent_path(), code);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      error = "cannot write " + path.string();
      return false;
    }
  }
  return true;
}
