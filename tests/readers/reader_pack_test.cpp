#include "tests/readers/reader_pack_test.h"

#include <sys/mman.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "files/pack_file.h"
#include "files/pack_writer.h"
#include "render/texture_manager.h"
#include "resources/res_mqo.h"
#include "resources/resource_manager.h"
#include "tests/support/test_paths.h"

namespace {

std::string SourceText(const std::string& relative) {
  std::ifstream in(SourcePath(relative), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

void ReaderPackTest::SetUp() {
  GLTest::SetUp();
  // Sizes are rounded up to powers of two unless a test says otherwise.
  mNonPowerOfTwo = gTextureManager.IsNonPowerOfTwo();
  gTextureManager.SetNonPowerOfTwo(false);
}

void ReaderPackTest::TearDown() {
  EXPECT_TRUE(gResourceManager.Cache().empty()) << "a test kept a resource";
  gTextureManager.SetNonPowerOfTwo(mNonPowerOfTwo);
  ClosePackage();
  for (int fd : mMemoryFiles) close(fd);
  mMemoryFiles.clear();
}

void ReaderPackTest::OpenPack(const PackContents& entries) {
  PackContents all = entries;
  for (const char* name : {"dummyShader", "defaultShader"}) {
    all.emplace_back(std::string("data\\core\\shader\\") + name + ".cgfx",
                     SourceText(std::string("content/data/core/shader/") + name + ".cgfx"));
  }
  all.emplace_back(DEFAULT_TEXTURE_PATH, SourceText("content/data/core/texture/defaultTexture.bmp"));
  std::string image, error;
  ASSERT_TRUE(BuildPackImage(all, image, error)) << error;
  int fd = memfd_create("torvane-readers-pack", 0);
  ASSERT_GE(fd, 0);
  mMemoryFiles.push_back(fd);
  ASSERT_EQ(write(fd, image.data(), image.size()), ssize_t(image.size()));
  ASSERT_TRUE(OpenPackage(("/proc/self/fd/" + std::to_string(fd)).c_str()));
}
