#pragma once
// Support for the effect tests: a quad to draw passes with, and GL tests that load through the
// resource manager from an in-memory pack (everything a test took from the cache must be released).

#include <string>
#include <utility>
#include <vector>

#include "tests/support/gl_fixture.h"

using PackContents = std::vector<std::pair<std::string, std::string>>;

// A textured quad (texture coordinates 0 to 1) in the plane z; by default the whole target.
void DrawQuad(float x0 = -1, float y0 = -1, float x1 = 1, float y1 = 1, float z = 0);

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
