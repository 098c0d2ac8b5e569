#include "files/scan_format.h"

#include <cctype>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

bool EndsWord(char c) { return c == '\t' || c == '\r' || c == '\n' || c == '\0'; }

bool IsSeparator(char c) { return c == ' ' || EndsWord(c); }

// The scanner's state: the current character, and whether the data has run out.
struct Scanner {
  ScanByteSource& source;
  char current = '\0';
  bool ended = false;

  void Advance() {
    if (!ended && !source.ReadByte(current)) {
      ended = true;
      current = '\0';
    }
  }

  // Reads one word into word (size bytes), zero-terminated.
  void ReadWord(char* word, int size) {
    while (!ended && IsSeparator(current)) Advance();
    int length = 0;
    while (!ended && !EndsWord(current) && !(current == ' ' && length > 0)) {
      if (length < size - 1) word[length++] = current;
      Advance();
    }
    word[length] = '\0';
  }
};

int WordToInt(const char* word) {
  long value = std::strtol(word, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return int(value);
}

// Narrows as the hardware would, without the undefined behaviour of an out-of-range conversion.
float WordToFloat(const char* word) {
  double value = std::strtod(word, nullptr);
  if (value > FLT_MAX) return HUGE_VALF;
  if (value < -FLT_MAX) return -HUGE_VALF;
  return float(value);
}

}  // namespace

int ScanFormatList(ScanByteSource& source, const char* format, va_list args) {
  Scanner scanner{source};
  scanner.Advance();
  char word[SCAN_WORD_SIZE];
  for (const char* f = format; f && *f; ++f) {
    if (f[0] != '%' || !std::isalpha(static_cast<unsigned char>(f[1]))) continue;
    ++f;
    switch (std::tolower(static_cast<unsigned char>(*f))) {
      case 'd':
        scanner.ReadWord(word, SCAN_WORD_SIZE);
        *va_arg(args, int*) = WordToInt(word);
        break;
      case 'f':
        scanner.ReadWord(word, SCAN_WORD_SIZE);
        *va_arg(args, float*) = WordToFloat(word);
        break;
      case 's':
        scanner.ReadWord(va_arg(args, char*), SCAN_WORD_SIZE);
        break;
      default: break;
    }
  }
  return 0;
}
