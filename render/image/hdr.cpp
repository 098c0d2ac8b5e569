#include "render/image/decoders.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr size_t HEADER_LINE_KEEP = 510;
constexpr size_t HEADER_FIELD_MAX = 64;
constexpr int RLE_MIN_LENGTH = 8;
constexpr int RLE_MAX_LENGTH = 32767;

using Pixel = std::array<uint8_t, 4>;

class HdrReader {
 public:
  HdrReader(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

  // The next line with its line feed, its first HEADER_LINE_KEEP bytes kept; false at the end.
  bool ReadLine(std::string& line) {
    if (mAt >= mSize) return false;
    const uint8_t* start = mData + mAt;
    const void* feed = std::memchr(start, '\n', mSize - mAt);
    size_t length = feed ? static_cast<const uint8_t*>(feed) - start + 1 : mSize - mAt;
    mAt += length;
    line.assign(reinterpret_cast<const char*>(start), length < HEADER_LINE_KEEP ? length : HEADER_LINE_KEEP);
    return true;
  }

  bool ReadByte(uint8_t& value) {
    if (mAt >= mSize) return false;
    value = mData[mAt++];
    return true;
  }

  bool ReadPixel(Pixel& pixel) {
    if (mSize - mAt < 4) return false;
    std::memcpy(pixel.data(), mData + mAt, 4);
    mAt += 4;
    return true;
  }

  void UnreadByte() { --mAt; }
  size_t Remaining() const { return mSize - mAt; }

 private:
  const uint8_t* mData;
  size_t mSize;
  size_t mAt = 0;
};

void AppendField(std::string& field, const std::string& text) {
  field += text;
  while (!field.empty() && (field.back() == '\r' || field.back() == '\n')) field.pop_back();
  if (field.size() > HEADER_FIELD_MAX) field.resize(HEADER_FIELD_MAX);
}

bool ReadHeader(HdrReader& reader) {
  std::string programType, format, line;
  for (;;) {
    if (!reader.ReadLine(line)) return false;
    if (line == "\n" || line == "\r\n") break;
    if (line.compare(0, 2, "#?") == 0) AppendField(programType, line.substr(2));
    if (line.compare(0, 7, "FORMAT=") == 0) AppendField(format, line.substr(7));
  }
  return programType == "RADIANCE" && format == "32-bit_rle_rgbe";
}

struct Resolution {
  int width = 0;
  int height = 0;
  bool alongX = true;  // scanlines run along X
};

bool ReadResolution(HdrReader& reader, Resolution& resolution) {
  std::string line;
  if (!reader.ReadLine(line)) return false;
  size_t x = line.rfind('X');
  size_t y = line.rfind('Y');
  if (x == std::string::npos || y == std::string::npos) return false;
  resolution.width = std::atoi(line.c_str() + x + 1);
  resolution.height = std::atoi(line.c_str() + y + 1);
  resolution.alongX = y < x;
  return ImageSizeAcceptable(resolution.width, resolution.height);
}

// Uncompressed pixels from start on, with (1, 1, 1, n) markers repeating the previous pixel;
// consecutive markers multiply the count by 256.
bool ReadOldScanline(HdrReader& reader, Pixel* scanline, int start, int length) {
  int shift = 0;
  for (int at = start; at < length;) {
    Pixel pixel;
    if (!reader.ReadPixel(pixel)) return false;
    if (pixel[0] != 1 || pixel[1] != 1 || pixel[2] != 1) {
      scanline[at++] = pixel;
      shift = 0;
      continue;
    }
    if (at == 0 || shift >= 32) return false;
    uint64_t count = static_cast<uint64_t>(pixel[3]) << shift;
    if (count > static_cast<uint64_t>(length - at)) return false;
    for (uint64_t i = 0; i < count; ++i, ++at) scanline[at] = scanline[at - 1];
    shift += 8;
  }
  return true;
}

bool ReadComponent(HdrReader& reader, Pixel* scanline, int component, int length) {
  for (int at = 0; at < length;) {
    uint8_t count = 0, value = 0;
    if (!reader.ReadByte(count)) return false;
    bool run = count > 128;
    int repeat = run ? count - 128 : count;
    if (repeat > length - at) return false;
    if (run && !reader.ReadByte(value)) return false;
    for (int i = 0; i < repeat; ++i, ++at) {
      if (!run && !reader.ReadByte(value)) return false;
      scanline[at][component] = value;
    }
  }
  return true;
}

bool ReadScanline(HdrReader& reader, Pixel* scanline, int length) {
  if (length < RLE_MIN_LENGTH || length > RLE_MAX_LENGTH) return ReadOldScanline(reader, scanline, 0, length);
  uint8_t first = 0;
  if (!reader.ReadByte(first)) return false;
  if (first != 2) {
    reader.UnreadByte();
    return ReadOldScanline(reader, scanline, 0, length);
  }
  uint8_t g = 0, b = 0, e = 0;
  if (!reader.ReadByte(g) || !reader.ReadByte(b) || !reader.ReadByte(e)) return false;
  if (g != 2 || (b & 0x80) != 0) {
    scanline[0] = Pixel{2, g, b, e};
    return ReadOldScanline(reader, scanline, 1, length);
  }
  if (b * 256 + e != length) return false;
  for (int component = 0; component < 4; ++component) {
    if (!ReadComponent(reader, scanline, component, length)) return false;
  }
  return true;
}

}  // namespace

bool DecodeHdr(const uint8_t* data, size_t size, ImageData& out) {
  out = ImageData{};
  HdrReader reader(data, size);
  Resolution resolution;
  if (!ReadHeader(reader) || !ReadResolution(reader, resolution)) return RefuseImage("it does not begin with \"#?RADIANCE\", \"FORMAT=32-bit_rle_rgbe\" and a resolution line");
  int length = resolution.alongX ? resolution.width : resolution.height;
  int count = resolution.alongX ? resolution.height : resolution.width;
  // Every scanline takes at least four bytes, so a short file cannot claim a huge picture.
  if (reader.Remaining() / 4 < static_cast<size_t>(count)) return RefuseImage("its scanlines are cut short");
  std::vector<Pixel> scanlines;
  for (int s = 0; s < count; ++s) {
    scanlines.resize(static_cast<size_t>(s + 1) * length);
    if (!ReadScanline(reader, scanlines.data() + static_cast<size_t>(s) * length, length)) return RefuseImage("scanline " + std::to_string(s) + " is damaged or cut short");
  }
  out.width = resolution.width;
  out.height = resolution.height;
  out.exactSize = true;
  out.pixels.resize(scanlines.size() * 4);
  for (int s = 0; s < count; ++s) {
    for (int k = 0; k < length; ++k) {
      size_t pixel = resolution.alongX ? static_cast<size_t>(s) * length + k : static_cast<size_t>(k) * count + s;
      std::memcpy(out.pixels.data() + pixel * 4, scanlines[static_cast<size_t>(s) * length + k].data(), 4);
    }
  }
  return true;
}
