#include "tests/resources/core_pack_test.h"

#include "render/texture_manager.h"

void CorePackTest::SetUp() {
  ResourcePackTest::SetUp();
  mNonPowerOfTwo = gTextureManager.IsNonPowerOfTwo();
  gTextureManager.SetNonPowerOfTwo(false);
}

void CorePackTest::TearDown() {
  ResourcePackTest::TearDown();
  gTextureManager.SetNonPowerOfTwo(mNonPowerOfTwo);
}

void CorePackTest::OpenPack(const PackContents& entries) {
  PackContents all = entries;
  for (auto& entry : CoreModelEntries()) all.push_back(entry);
  ResourcePackTest::OpenPack(all);
}
