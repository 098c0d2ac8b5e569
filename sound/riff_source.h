#pragma once
// Random-access bytes for the RIFF reader: a memory block or a disk file.

#include <cstddef>
#include <cstdint>
#include <cstdio>

class RiffSource {
 public:
  virtual ~RiffSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads exactly bytes at offset; false when fewer are there.
  virtual bool ReadAt(uint64_t offset, void* out, size_t bytes) = 0;
};

class MemoryRiffSource : public RiffSource {
 public:
  MemoryRiffSource(const uint8_t* data, uint64_t size) : mData(data), mSize(size) {}
  uint64_t Size() const override { return mSize; }
  bool ReadAt(uint64_t offset, void* out, size_t bytes) override;

 private:
  const uint8_t* mData;
  uint64_t mSize;
};

class FileRiffSource : public RiffSource {
 public:
  ~FileRiffSource() override;
  // Opens path for reading; false when it cannot be opened.
  bool Open(const char* path);
  uint64_t Size() const override { return mSize; }
  bool ReadAt(uint64_t offset, void* out, size_t bytes) override;

 private:
  std::FILE* mFile = nullptr;
  uint64_t mSize = 0;
  uint64_t mFilePosition = 0;
};
