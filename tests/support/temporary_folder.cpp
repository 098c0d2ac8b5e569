#include "tests/support/temporary_folder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

TemporaryFolder::TemporaryFolder() {
  char pattern[] = "/tmp/torvane-test-XXXXXX";
  if (mkdtemp(pattern)) mPath = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  if (!mPath.empty()) std::filesystem::remove_all(mPath, ignored);
}

std::string ReadTextFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool WriteTextFile(const std::filesystem::path& path, const std::string& text) {
  std::error_code ignored;
  std::filesystem::create_directories(path.parent_path(), ignored);
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out.flush());
}
