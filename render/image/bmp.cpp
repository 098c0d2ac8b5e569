#include "render/image/decoders.h"

#include <array>

#include "render/image/image_bytes.h"

namespace {

constexpr size_t FILE_HEADER_SIZE = 14;
constexpr uint32_t CORE_HEADER_SIZE = 12;
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_ALPHABITFIELDS = 6;

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 255;
};

struct BmpHeader {
  uint32_t headerSize = 0;
  int32_t width = 0;
  int32_t height = 0;  // rows, always positive here
  bool topDown = false;
  uint16_t bitCount = 0;
  uint32_t compression = BI_RGB;
  uint32_t colorsUsed = 0;
  std::array<uint32_t, 4> masks{};  // red, green, blue, alpha
  std::vector<Rgba> palette;
  uint32_t pixelOffset = 0;
};

// One colour channel described by a bit mask: where it starts and how many bits it has.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  explicit Channel(uint32_t m) : mask(m) {
    if (!mask) return;
    while (((mask >> shift) & 1) == 0) ++shift;
    max = mask >> shift;
  }
  uint8_t Extract(uint32_t pixel) const {
    if (!max) return 0;
    return static_cast<uint8_t>((static_cast<uint64_t>((pixel & mask) >> shift) * 255 + max / 2) / max);
  }
};

bool ReadMasks(const uint8_t* data, size_t size, BmpHeader& header) {
  // Version 2 and later headers hold the masks; a 40-byte header is followed by them.
  size_t maskAt = FILE_HEADER_SIZE + 40;
  int count = header.compression == BI_ALPHABITFIELDS || header.headerSize >= 56 ? 4 : 3;
  if (size < maskAt + 4 * count) return RefuseImage("its bit-field masks lie past the end of the file");
  for (int i = 0; i < count; ++i) header.masks[i] = LoadU32(data + maskAt + 4 * i);
  return true;
}

void SetDefaultMasks(BmpHeader& header) {
  if (header.bitCount == 16) header.masks = {0x7C00, 0x03E0, 0x001F, 0};
  if (header.bitCount == 32) header.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
}

bool ReadPalette(const uint8_t* data, size_t size, BmpHeader& header) {
  if (header.bitCount > 8) return true;
  size_t entrySize = header.headerSize == CORE_HEADER_SIZE ? 3 : 4;
  size_t at = FILE_HEADER_SIZE + header.headerSize;
  if (header.headerSize == 40 && header.compression == BI_BITFIELDS) at += 12;
  if (header.headerSize == 40 && header.compression == BI_ALPHABITFIELDS) at += 16;
  size_t count = header.colorsUsed ? header.colorsUsed : size_t{1} << header.bitCount;
  if (count > 256) count = 256;
  for (size_t i = 0; i < count && at + entrySize <= size; ++i, at += entrySize) {
    header.palette.push_back(Rgba{data[at + 2], data[at + 1], data[at], 255});
  }
  return !header.palette.empty();
}

bool ValidDepthAndCompression(const BmpHeader& header) {
  switch (header.compression) {
    case BI_RGB:
      return header.bitCount == 1 || header.bitCount == 4 || header.bitCount == 8 || header.bitCount == 16 ||
             header.bitCount == 24 || header.bitCount == 32;
    case BI_RLE8:
      return header.bitCount == 8;
    case BI_RLE4:
      return header.bitCount == 4;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
      return header.bitCount == 16 || header.bitCount == 32;
    default:
      return RefuseImage("its bit depth or compression is not one a bitmap can have");
  }
}

bool ReadHeader(const uint8_t* data, size_t size, BmpHeader& header) {
  if (size < FILE_HEADER_SIZE + 4 || data[0] != 'B' || data[1] != 'M') return RefuseImage("it does not begin with \"BM\" and a header");
  header.pixelOffset = LoadU32(data + 10);
  header.headerSize = LoadU32(data + 14);
  const uint8_t* info = data + FILE_HEADER_SIZE;
  int64_t height = 0;
  if (header.headerSize == CORE_HEADER_SIZE) {
    if (size < FILE_HEADER_SIZE + CORE_HEADER_SIZE) return RefuseImage("its header is cut short");
    header.width = LoadU16(info + 4);
    height = LoadU16(info + 6);
    header.bitCount = LoadU16(info + 10);
  } else {
    if (header.headerSize < 40 || size < FILE_HEADER_SIZE + 40) return RefuseImage("its header is cut short or smaller than 40 bytes");
    header.width = LoadI32(info + 4);
    height = LoadI32(info + 8);
    header.bitCount = LoadU16(info + 14);
    header.compression = LoadU32(info + 16);
    header.colorsUsed = LoadU32(info + 32);
  }
  header.topDown = height < 0;
  if (header.topDown) height = -height;
  if (!ImageSizeAcceptable(header.width, height)) return RefuseImage("its width or height is 0 or too large");
  header.height = static_cast<int32_t>(height);
  if (!ValidDepthAndCompression(header)) return RefuseImage("its bit depth or compression is not one a bitmap can have");
  // Run-length bitmaps are bottom-up only.
  if (header.topDown && (header.compression == BI_RLE8 || header.compression == BI_RLE4)) return RefuseImage("a run-length bitmap cannot be stored top-down");
  if (header.compression == BI_BITFIELDS || header.compression == BI_ALPHABITFIELDS) {
    if (!ReadMasks(data, size, header)) return RefuseImage("its bit-field masks lie past the end of the file");
  } else {
    SetDefaultMasks(header);
  }
  if (!ReadPalette(data, size, header)) return RefuseImage("its palette lies past the end of the file");
  return header.pixelOffset >= FILE_HEADER_SIZE && header.pixelOffset < size;
}

Rgba PaletteColor(const BmpHeader& header, unsigned index) {
  return index < header.palette.size() ? header.palette[index] : Rgba{};
}

// Row r of the file's pixel array lands in image row r (top-down) or height - 1 - r.
uint8_t* ImageRow(const BmpHeader& header, std::vector<uint8_t>& pixels, int fileRow) {
  int row = header.topDown ? fileRow : header.height - 1 - fileRow;
  return pixels.data() + static_cast<size_t>(row) * header.width * 4;
}

void Store(uint8_t* pixel, Rgba color) {
  pixel[0] = color.r;
  pixel[1] = color.g;
  pixel[2] = color.b;
  pixel[3] = color.a;
}

void DecodeRow(const BmpHeader& header, const uint8_t* source, uint8_t* row) {
  if (header.bitCount <= 8) {
    int perByte = 8 / header.bitCount;
    unsigned mask = (1u << header.bitCount) - 1;
    for (int x = 0; x < header.width; ++x) {
      int shift = 8 - header.bitCount * (x % perByte + 1);
      Store(row + 4 * x, PaletteColor(header, (source[x / perByte] >> shift) & mask));
    }
    return;
  }
  if (header.bitCount == 24) {
    for (int x = 0; x < header.width; ++x) Store(row + 4 * x, Rgba{source[3 * x + 2], source[3 * x + 1], source[3 * x], 255});
    return;
  }
  Channel red(header.masks[0]), green(header.masks[1]), blue(header.masks[2]), alpha(header.masks[3]);
  for (int x = 0; x < header.width; ++x) {
    uint32_t pixel = header.bitCount == 16 ? LoadU16(source + 2 * x) : LoadU32(source + 4 * x);
    uint8_t a = 255;
    if (header.bitCount == 32) a = alpha.mask ? alpha.Extract(pixel) : source[4 * x + 3];
    Store(row + 4 * x, Rgba{red.Extract(pixel), green.Extract(pixel), blue.Extract(pixel), a});
  }
}

bool DecodeUncompressed(const uint8_t* data, size_t size, const BmpHeader& header, std::vector<uint8_t>& pixels) {
  size_t stride = (static_cast<size_t>(header.width) * header.bitCount + 31) / 32 * 4;
  if ((size - header.pixelOffset) / stride < static_cast<size_t>(header.height)) return RefuseImage("its pixel rows are cut short");
  for (int fileRow = 0; fileRow < header.height; ++fileRow) {
    DecodeRow(header, data + header.pixelOffset + static_cast<size_t>(fileRow) * stride,
              ImageRow(header, pixels, fileRow));
  }
  return true;
}

// Run-length data: pairs of (count, index) runs and escapes for end of line, end of bitmap,
// a jump ahead, and literal runs padded to 16 bits.
class RleDecoder {
 public:
  RleDecoder(const uint8_t* data, size_t size, const BmpHeader& header, std::vector<uint8_t>& pixels)
      : mData(data), mSize(size), mAt(header.pixelOffset), mHeader(header), mPixels(pixels) {}

  bool Decode() {
    bool fourBit = mHeader.compression == BI_RLE4;
    while (mAt + 2 <= mSize) {
      uint8_t count = mData[mAt++];
      uint8_t value = mData[mAt++];
      if (count > 0) {
        for (int i = 0; i < count; ++i) Put(fourBit ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
        continue;
      }
      if (value == 0) {
        mX = 0;
        ++mY;
      } else if (value == 1) {
        return true;
      } else if (value == 2) {
        if (mAt + 2 > mSize) return RefuseImage("its run-length data is cut short");
        mX += mData[mAt++];
        mY += mData[mAt++];
      } else if (!Literal(value, fourBit)) {
        return false;
      }
    }
    // Data that ends without an end-of-bitmap escape keeps what was decoded.
    return true;
  }

 private:
  bool Literal(int count, bool fourBit) {
    size_t bytes = fourBit ? (count + 1) / 2 : count;
    if (mAt + bytes > mSize) return RefuseImage("its run-length data is cut short");
    for (int i = 0; i < count; ++i) {
      uint8_t byte = mData[mAt + (fourBit ? i / 2 : i)];
      Put(fourBit ? (i % 2 == 0 ? byte >> 4 : byte & 15) : byte);
    }
    mAt += (bytes + 1) & ~size_t{1};
    return true;
  }

  void Put(unsigned index) {
    if (mX < mHeader.width && mY < mHeader.height) Store(ImageRow(mHeader, mPixels, mY) + 4 * mX, PaletteColor(mHeader, index));
    ++mX;
  }

  const uint8_t* mData;
  size_t mSize;
  size_t mAt;
  const BmpHeader& mHeader;
  std::vector<uint8_t>& mPixels;
  int mX = 0;
  int mY = 0;
};

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, ImageData& out, bool& fileAlpha) {
  out = ImageData{};
  fileAlpha = false;
  BmpHeader header;
  if (!ReadHeader(data, size, header)) return false;
  std::vector<uint8_t>& pixels = out.pixels;
  pixels.resize(static_cast<size_t>(header.width) * header.height * 4);
  for (size_t at = 3; at < pixels.size(); at += 4) pixels[at] = 255;
  bool ok = header.compression == BI_RLE8 || header.compression == BI_RLE4
                ? RleDecoder(data, size, header, pixels).Decode()
                : DecodeUncompressed(data, size, header, pixels);
  if (!ok) {
    out = ImageData{};
    return false;
  }
  out.width = header.width;
  out.height = header.height;
  fileAlpha = header.bitCount == 32;
  return true;
}
