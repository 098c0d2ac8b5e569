#pragma once
// The word scanner behind CoreFileStream::ScanFormat, over any source of single bytes.
//
// The format is walked for "%" followed by a letter: d (int*), f (float*) or s (char*, at least
// SCAN_WORD_SIZE bytes), letters compared without regard to case; every other character of the
// format, literal text included, is skipped and never matched against the input. Each conversion
// skips blanks, tabs, line ends and zero bytes, then takes one word up to the next of those. Words
// longer than SCAN_WORD_SIZE - 1 characters are cut (the rest of the word is consumed).

#include <cstdarg>

constexpr int SCAN_WORD_SIZE = 4096;

class ScanByteSource {
 public:
  virtual ~ScanByteSource() = default;
  // Reads the next byte into c; false when the data has ended.
  virtual bool ReadByte(char& c) = 0;
};

// Runs the conversions of format over source, storing through the pointers in args. Returns 0.
int ScanFormatList(ScanByteSource& source, const char* format, va_list args);
