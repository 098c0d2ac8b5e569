#pragma once
// Tests of the pack and the file layer: a process pack made in memory, closed after each test.

#include <string>

#include <gtest/gtest.h>

#include "tests/support/memory_pack.h"

using PackEntries = PackContents;

class PackTest : public ::testing::Test {
 protected:
  void TearDown() override { mPack.Close(); }

  // Packs entries and opens them as the process pack.
  void OpenPack(const PackEntries& entries) { OpenPackBytes(PackImage(entries)); }
  // Opens the given bytes as the process pack (the header checks apply, critically).
  void OpenPackBytes(const std::string& bytes) {
    std::string error;
    mPack.OpenBytes(bytes, error);
  }

 private:
  MemoryPack mPack;
};
