#include "tests/e2e/window_picture.h"

#include <bit>
#include <cstdint>

#include "tests/support/run_command.h"
#include "tests/support/x_driver.h"

namespace {

constexpr char XWD[] = "/usr/bin/xwd";

// Header fields of an X window dump, each a big-endian 32-bit word.
enum XwdField {
  XWD_HEADER_SIZE = 0,
  XWD_PIXMAP_FORMAT = 2,
  XWD_PIXMAP_WIDTH = 4,
  XWD_PIXMAP_HEIGHT = 5,
  XWD_BYTE_ORDER = 7,
  XWD_BITS_PER_PIXEL = 11,
  XWD_BYTES_PER_LINE = 12,
  XWD_RED_MASK = 14,
  XWD_GREEN_MASK = 15,
  XWD_BLUE_MASK = 16,
  XWD_COLOR_COUNT = 19,
  XWD_HEADER_FIELDS = 25
};
constexpr uint32_t Z_PIXMAP = 2;
constexpr size_t COLOR_ENTRY_BYTES = 12;

uint32_t Word(const std::string& bytes, size_t offset, bool bigEndian) {
  uint32_t b[4];
  for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(bytes[offset + static_cast<size_t>(i)]);
  return bigEndian ? b[0] << 24 | b[1] << 16 | b[2] << 8 | b[3] : b[3] << 24 | b[2] << 16 | b[1] << 8 | b[0];
}

double Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0.0;
  return static_cast<double>((pixel & mask) >> std::countr_zero(mask)) / static_cast<double>(mask >> std::countr_zero(mask));
}

}  // namespace

double WindowBrightness(const std::string& windowId) {
  CommandResult dump = RunCommand(XWD, {"-silent", "-id", windowId}, "", DESKTOP_HELPER_TIMEOUT_MS);
  const std::string& bytes = dump.out;
  if (dump.status != 0 || bytes.size() < XWD_HEADER_FIELDS * 4) return -1.0;
  auto field = [&](XwdField f) { return Word(bytes, static_cast<size_t>(f) * 4, true); };
  if (field(XWD_PIXMAP_FORMAT) != Z_PIXMAP || field(XWD_BITS_PER_PIXEL) != 32) return -1.0;
  uint64_t width = field(XWD_PIXMAP_WIDTH);
  uint64_t height = field(XWD_PIXMAP_HEIGHT);
  uint64_t pitch = field(XWD_BYTES_PER_LINE);
  uint64_t start = uint64_t{field(XWD_HEADER_SIZE)} + uint64_t{field(XWD_COLOR_COUNT)} * COLOR_ENTRY_BYTES;
  if (width == 0 || height == 0 || pitch < width * 4 || start + pitch * height > bytes.size()) return -1.0;
  bool bigEndian = field(XWD_BYTE_ORDER) != 0;
  uint32_t red = field(XWD_RED_MASK);
  uint32_t green = field(XWD_GREEN_MASK);
  uint32_t blue = field(XWD_BLUE_MASK);
  double sum = 0.0;
  for (uint64_t y = 0; y < height; ++y) {
    for (uint64_t x = 0; x < width; ++x) {
      uint32_t pixel = Word(bytes, static_cast<size_t>(start + y * pitch + x * 4), bigEndian);
      sum += (Channel(pixel, red) + Channel(pixel, green) + Channel(pixel, blue)) / 3.0;
    }
  }
  return sum / static_cast<double>(width * height);
}
