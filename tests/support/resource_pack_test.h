#pragma once
// GL tests that load through the resource manager from an in-memory pack: everything a test took
// from the cache must be given back by its end. Also a quad to draw passes with.

#include <string>

#include "tests/support/gl_fixture.h"
#include "tests/support/memory_pack.h"

// A textured quad (texture coordinates 0 to 1) in the plane z; by default the whole target.
void DrawQuad(float x0 = -1, float y0 = -1, float x1 = 1, float y1 = 1, float z = 0);

// The core effects as packed entries ("data\core\shader\NAME.cgfx").
PackContents CoreEffectEntries();
// What every model needs: the dummy and default effects and the default texture.
PackContents CoreModelEntries();

class ResourcePackTest : public GLTest {
 protected:
  void TearDown() override;
  void OpenPack(const PackContents& entries);

 private:
  MemoryPack mPack;
};
