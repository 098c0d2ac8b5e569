#include "tests/tools/capture/capture_test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
  char pattern[] = "/tmp/torvane-capture-XXXXXX";
  const char* made = mkdtemp(pattern);
  mPath = made ? made : "";
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  if (!mPath.empty()) fs::remove_all(mPath, ignored);
}

std::vector<std::string> ScratchFolder::Entries() const {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(mPath)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ProductionPack() { return BinaryPath("test-production/torvane.pak"); }

std::string ProductionMusic() { return BinaryPath("test-production/music.ogg"); }

void WriteTextFile(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string StageProduction(const ScratchFolder& folder, const std::string& name,
                            const std::map<std::string, std::string>& replaced) {
  std::string stage = folder / (name + "-stage");
  fs::copy(BinaryPath("content/stage"), stage, fs::copy_options::recursive);
  for (const auto& [path, text] : replaced) WriteTextFile(stage + "/" + path, text);
  std::string pack = folder / (name + ".pak");
  CommandResult packed = RunTool({"pack", "create", pack, stage});
  return packed.status == 0 ? pack : "";
}

CommandResult Capture(const std::vector<std::string>& args) {
  std::vector<std::string> all = {"capture", "--width", std::to_string(TEST_WIDTH), "--height", std::to_string(TEST_HEIGHT),
                                  "--fps", std::to_string(TEST_FPS), "--quiet"};
  all.insert(all.end(), args.begin(), args.end());
  return RunTool(all);
}
