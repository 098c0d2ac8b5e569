#include "tests/support/memory_pack.h"

#include <sys/mman.h>
#include <unistd.h>

#include "files/pack_file.h"
#include "files/pack_writer.h"

MemoryPack::~MemoryPack() { Close(); }

bool MemoryPack::Open(const std::vector<std::pair<std::string, std::string>>& entries, std::string& error) {
  std::string image;
  if (!BuildPackImage(entries, image, error)) return false;
  int fd = memfd_create("torvane-test-pack", 0);
  if (fd < 0) {
    error = "memfd_create failed";
    return false;
  }
  mFiles.push_back(fd);
  if (write(fd, image.data(), image.size()) != static_cast<ssize_t>(image.size())) {
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
