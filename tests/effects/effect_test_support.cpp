#include "tests/effects/effect_test_support.h"

#include <sys/mman.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "files/pack_file.h"
#include "files/pack_writer.h"
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

std::string ReadSourceFile(const std::string& relative) {
  std::ifstream in(SourcePath(relative), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

PackContents CoreEffectEntries() {
  PackContents entries;
  for (const char* name : {"dummyShader", "defaultShader", "finalScreenShader", "nullPostEffect", "msaa"}) {
    entries.emplace_back(std::string("data\\core\\shader\\") + name + ".cgfx",
                         ReadSourceFile(std::string("content/data/core/shader/") + name + ".cgfx"));
  }
  return entries;
}

void EffectPackTest::TearDown() {
  EXPECT_TRUE(gResourceManager.Cache().empty()) << "a test kept a resource";
  ClosePackage();
  for (int fd : mMemoryFiles) close(fd);
  mMemoryFiles.clear();
}

void EffectPackTest::OpenPack(const PackContents& entries) {
  std::string image;
  std::string error;
  ASSERT_TRUE(BuildPackImage(entries, image, error)) << error;
  const int fd = memfd_create("torvane-effect-pack", 0);
  ASSERT_GE(fd, 0);
  mMemoryFiles.push_back(fd);
  ASSERT_EQ(write(fd, image.data(), image.size()), ssize_t(image.size()));
  ASSERT_TRUE(OpenPackage(("/proc/self/fd/" + std::to_string(fd)).c_str()));
}
