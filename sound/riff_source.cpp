#include "sound/riff_source.h"

#include <cstring>

bool MemoryRiffSource::ReadAt(uint64_t offset, void* out, size_t bytes) {
  if (offset > mSize || bytes > mSize - offset) return false;
  if (bytes) std::memcpy(out, mData + offset, bytes);
  return true;
}

FileRiffSource::~FileRiffSource() {
  if (mFile) std::fclose(mFile);
}

bool FileRiffSource::Open(const char* path) {
  mFile = std::fopen(path, "rb");
  if (!mFile) return false;
  if (std::fseek(mFile, 0, SEEK_END) != 0) return false;
  long end = std::ftell(mFile);
  if (end < 0) return false;
  mSize = static_cast<uint64_t>(end);
  mFilePosition = mSize;
  return true;
}

bool FileRiffSource::ReadAt(uint64_t offset, void* out, size_t bytes) {
  if (!mFile || offset > mSize || bytes > mSize - offset) return false;
  // Streaming reads follow each other, so the seek is skipped when the file is already there.
  if (offset != mFilePosition && std::fseek(mFile, static_cast<long>(offset), SEEK_SET) != 0) return false;
  size_t got = std::fread(out, 1, bytes, mFile);
  mFilePosition = offset + got;
  return got == bytes;
}
