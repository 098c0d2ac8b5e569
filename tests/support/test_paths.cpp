#include "tests/support/test_paths.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

std::string Environment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value && value[0] ? value : fallback;
}

}  // namespace

std::string SourcePath(const std::string& relative) {
  return Environment("TORVANE_SOURCE_DIR", TORVANE_TEST_SOURCE_DIR) + "/" + relative;
}

std::string BinaryPath(const std::string& relative) {
  return Environment("TORVANE_BINARY_DIR", TORVANE_TEST_BINARY_DIR) + "/" + relative;
}

std::string ReadSourceFile(const std::string& relative) {
  std::ifstream in(SourcePath(relative), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
