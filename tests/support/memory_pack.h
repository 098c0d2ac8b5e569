#pragma once
// A process pack built in memory for tests: the entries are packed into an anonymous memory file
// (nothing is left on disk, even by death-test children) and opened as the pack.

#include <string>
#include <utility>
#include <vector>

class MemoryPack {
 public:
  MemoryPack() = default;
  // Closes the pack and the memory files.
  ~MemoryPack();
  MemoryPack(const MemoryPack&) = delete;
  MemoryPack& operator=(const MemoryPack&) = delete;

  // Packs entries in order and opens them as the process pack; false with error set on failure.
  bool Open(const std::vector<std::pair<std::string, std::string>>& entries, std::string& error);
  // Closes the process pack and the memory files.
  void Close();

 private:
  std::vector<int> mFiles;
};
