#include "tests/files/pack_fixture.h"

#include <sys/mman.h>
#include <unistd.h>

#include "files/pack_file.h"
#include "files/pack_writer.h"

std::string PackImage(const PackEntries& entries) {
  std::string image, error;
  EXPECT_TRUE(BuildPackImage(entries, image, error)) << error;
  return image;
}

void PackTest::TearDown() {
  ClosePackage();
  for (int fd : mMemoryFiles) close(fd);
}

void PackTest::OpenPack(const PackEntries& entries) { OpenPackBytes(PackImage(entries)); }

void PackTest::OpenPackBytes(const std::string& bytes) {
  int fd = memfd_create("torvane-test-pack", 0);
  ASSERT_GE(fd, 0);
  mMemoryFiles.push_back(fd);
  ASSERT_EQ(write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
  OpenPackage(("/proc/self/fd/" + std::to_string(fd)).c_str());
}
