#pragma once
// The one way tests make a process pack: entries packed into an anonymous memory file (nothing is
// left on disk, even by death-test children) and opened as the pack.

#include <string>
#include <utility>
#include <vector>

// Pack entries in order: (pack path, bytes).
using PackContents = std::vector<std::pair<std::string, std::string>>;

// A pack file image holding entries in order (a failure is a test failure).
std::string PackImage(const PackContents& entries);

class MemoryPack {
 public:
  MemoryPack() = default;
  // Closes the pack and the memory files.
  ~MemoryPack();
  MemoryPack(const MemoryPack&) = delete;
  MemoryPack& operator=(const MemoryPack&) = delete;

  // Packs entries in order and opens them as the process pack; false with error set on failure.
  bool Open(const PackContents& entries, std::string& error);
  // Opens bytes as the process pack, whatever they hold (the pack's own checks apply).
  bool OpenBytes(const std::string& bytes, std::string& error);
  // Closes the process pack and the memory files.
  void Close();

 private:
  std::vector<int> mFiles;
};
