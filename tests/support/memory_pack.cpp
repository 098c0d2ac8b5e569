#include "tests/support/memory_pack.h"

#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "files/pack_file.h"
#include "files/pack_writer.h"

std::string PackImage(const PackContents& entries) {
  std::string image, error;
  EXPECT_TRUE(BuildPackImage(entries, image, error)) << error;
  return image;
}

MemoryPack::~MemoryPack() { Close(); }

bool MemoryPack::Open(const PackContents& entries, std::string& error) {
  std::string image;
  if (!BuildPackImage(entries, image, error)) return false;
  return OpenBytes(image, error);
}

bool MemoryPack::OpenBytes(const std::string& bytes, std::string& error) {
  int fd = memfd_create("torvane-test-pack", 0);
  if (fd < 0) {
    error = "memfd_create failed";
    return false;
  }
  mFiles.push_back(fd);
  if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    error = "writing the pack image failed";
    return false;
  }
  if (!OpenPackage(("/proc/self/fd/" + std::to_string(fd)).c_str())) {
    error = "the pack did not open";
    return false;
  }
  return true;
}

void MemoryPack::Close() {
  if (mFiles.empty()) return;
  ClosePackage();
  for (int fd : mFiles) close(fd);
  mFiles.clear();
}
