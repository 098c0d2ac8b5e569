#pragma once
// GL tests of the reader resources: a process pack built in memory holding the engine's core
// effects and default texture plus the test's own entries. Every resource a test takes must be
// given back by its end.

#include <string>
#include <utility>
#include <vector>

#include "tests/support/gl_fixture.h"

using PackContents = std::vector<std::pair<std::string, std::string>>;

class ReaderPackTest : public GLTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Opens the core entries and entries as the process pack.
  void OpenPack(const PackContents& entries);

 private:
  std::vector<int> mMemoryFiles;
  bool mNonPowerOfTwo = false;
};
