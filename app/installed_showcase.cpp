#include "app/installed_showcase.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string ShowcaseFolderBeside(const std::string& programPath) {
  if (programPath.empty()) return "";
  return (fs::path(programPath).parent_path() / TORVANE_SHOWCASE_FROM_BIN).lexically_normal().string();
}

std::string InstalledShowcaseFolder() {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? "" : ShowcaseFolderBeside(self.string());
}
