// ScanFormat's word scanner over arbitrary bytes, with a format picked by the first byte.
#include <cstdarg>
#include <cstddef>
#include <cstdint>

#include "files/scan_format.h"

namespace {

class MemorySource : public ScanByteSource {
 public:
  MemorySource(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
  bool ReadByte(char& c) override {
    if (mAt >= mSize) return false;
    c = char(mData[mAt++]);
    return true;
  }

 private:
  const uint8_t* mData;
  size_t mSize;
  size_t mAt = 0;
};

int Scan(ScanByteSource& source, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int result = ScanFormatList(source, format, args);
  va_end(args);
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  MemorySource source(data + 1, size - 1);
  int i1, i2;
  float f1, f2, f3;
  char s1[SCAN_WORD_SIZE], s2[SCAN_WORD_SIZE];
  switch (data[0] % 6) {
    case 0: Scan(source, "%d %d", &i1, &i2); break;
    case 1: Scan(source, "%f %f %f", &f1, &f2, &f3); break;
    case 2: Scan(source, "%s %s", s1, s2); break;
    case 3: Scan(source, "%D,%F;%S", &i1, &f1, s1); break;
    case 4: Scan(source, "x%qy%dz% %", &i1); break;
    case 5: Scan(source, "%s %d %f %s %f", s1, &i1, &f1, s2, &f2); break;
  }
  return 0;
}
