#include "tests/support/resource_pack_test.h"

#include "resources/res_mqo.h"
#include "resources/resource_manager.h"
#include "tests/support/test_paths.h"

void DrawQuad(float x0, float y0, float x1, float y1, float z) {
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex3f(x0, y0, z);
  glTexCoord2f(1, 0);
  glVertex3f(x1, y0, z);
  glTexCoord2f(1, 1);
  glVertex3f(x1, y1, z);
  glTexCoord2f(0, 1);
  glVertex3f(x0, y1, z);
  glEnd();
}

namespace {

void AddCoreEffects(PackContents& entries, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    entries.emplace_back(std::string("data\\core\\shader\\") + name + ".cgfx",
                         ReadSourceFile(std::string("content/core/shader/") + name + ".cgfx"));
  }
}

}  // namespace

PackContents CoreEffectEntries() {
  PackContents entries;
  AddCoreEffects(entries, {"dummyShader", "defaultShader", "finalScreenShader", "nullPostEffect", "msaa"});
  return entries;
}

PackContents CoreModelEntries() {
  PackContents entries;
  AddCoreEffects(entries, {"dummyShader", "defaultShader"});
  entries.emplace_back(DEFAULT_TEXTURE_PATH, ReadSourceFile("content/core/texture/defaultTexture.bmp"));
  return entries;
}

void ResourcePackTest::TearDown() {
  EXPECT_TRUE(gResourceManager.Cache().empty()) << "a test kept a resource";
  mPack.Close();
}

void ResourcePackTest::OpenPack(const PackContents& entries) {
  std::string error;
  ASSERT_TRUE(mPack.Open(entries, error)) << error;
}
