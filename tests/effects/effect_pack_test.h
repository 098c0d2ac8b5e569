#pragma once
// GL tests that load through the resource manager: entries are packed into an in-memory file that
// is opened as the process pack; everything the test took from the cache must be released.

#include <string>
#include <utility>
#include <vector>

#include "tests/support/gl_fixture.h"

using PackContents = std::vector<std::pair<std::string, std::string>>;

// The text of a file under the source tree.
std::string ReadSourceFile(const std::string& relative);

// The core effects as packed entries ("data\core\shader\NAME.cgfx").
PackContents CoreEffectEntries();

class EffectPackTest : public GLTest {
 protected:
  void TearDown() override;
  void OpenPack(const PackContents& entries);

 private:
  std::vector<int> mMemoryFiles;
};
