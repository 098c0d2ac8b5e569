#include "tests/support/test_paths.h"

#include <cstdlib>

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
