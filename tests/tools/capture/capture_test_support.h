#pragma once
// What the capture tests share: a scratch folder per test, productions staged from the test
// production's pieces with some files replaced, and the capture tool run on them.

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/run_command.h"

// A fresh folder under /tmp, removed with everything in it when the test ends.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  const std::string& Path() const { return mPath; }
  std::string operator/(const std::string& name) const { return mPath + "/" + name; }
  // Names of the entries in the folder, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string mPath;
};

// The test production's pack and music in the build.
std::string ProductionPack();
std::string ProductionMusic();

// Packs the test production's staged data with the files in replaced (path below the stage
// folder → content) into folder/name.pak and returns its path; empty on failure.
std::string StageProduction(const ScratchFolder& folder, const std::string& name,
                            const std::map<std::string, std::string>& replaced);

void WriteTextFile(const std::string& path, const std::string& text);

// How many elements differ between two sequences (those past the shorter one's end count too):
// a short figure for a failure message instead of a dump of both.
template <class T>
size_t CountDifferences(const std::vector<T>& a, const std::vector<T>& b) {
  size_t shared = std::min(a.size(), b.size());
  size_t count = std::max(a.size(), b.size()) - shared;
  for (size_t i = 0; i < shared; ++i) count += a[i] != b[i];
  return count;
}

// `torvane-tool capture` with the options every test uses (a small picture, 30 fps, quiet)
// followed by args.
CommandResult Capture(const std::vector<std::string>& args);

constexpr int TEST_WIDTH = 160;
constexpr int TEST_HEIGHT = 90;
constexpr int TEST_FPS = 30;
