#pragma once
// Tests that need a process pack: entries are packed into an in-memory file (nothing is left on
// disk, even by death-test children) that is opened as the pack and closed after each test.

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

using PackEntries = std::vector<std::pair<std::string, std::string>>;

// A pack file image holding entries in order.
std::string PackImage(const PackEntries& entries);

class PackTest : public ::testing::Test {
 protected:
  void TearDown() override;

  // Packs entries and opens them as the process pack.
  void OpenPack(const PackEntries& entries);
  // Opens the given bytes as the process pack (the header checks apply).
  void OpenPackBytes(const std::string& bytes);

 private:
  std::vector<int> mMemoryFiles;
};
