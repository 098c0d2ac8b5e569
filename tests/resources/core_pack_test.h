#pragma once
// GL tests of the resources: an in-memory pack holding the engine's core effects and default
// texture plus the test's own entries, with texture sizes rounded up to powers of two unless a
// test says otherwise.

#include "tests/support/resource_pack_test.h"

class CorePackTest : public ResourcePackTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Opens the core entries and entries as the process pack.
  void OpenPack(const PackContents& entries);

 private:
  bool mNonPowerOfTwo = false;
};
