#include "render/image/decoders.h"

#include <cstring>

#include "render/image/image_bytes.h"

namespace {

constexpr uint8_t TGA_UNCOMPRESSED[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr uint8_t TGA_RUN_LENGTH[12] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr size_t TGA_HEADER_SIZE = 18;

void StoreSwapped(const uint8_t* source, uint8_t* target, int bytesPerPixel) {
  target[0] = source[2];
  target[1] = source[1];
  target[2] = source[0];
  if (bytesPerPixel == 4) target[3] = source[3];
}

bool ReadUncompressed(const uint8_t* data, size_t size, ImageData& out, int bytesPerPixel) {
  size_t count = static_cast<size_t>(out.width) * out.height;
  if ((size - TGA_HEADER_SIZE) / bytesPerPixel < count) return RefuseImage("its pixels are cut short");
  out.pixels.resize(count * bytesPerPixel);
  const uint8_t* source = data + TGA_HEADER_SIZE;
  for (size_t at = 0; at < out.pixels.size(); at += bytesPerPixel) StoreSwapped(source + at, &out.pixels[at], bytesPerPixel);
  return true;
}

bool ReadRunLength(const uint8_t* data, size_t size, ImageData& out, int bytesPerPixel) {
  size_t count = static_cast<size_t>(out.width) * out.height;
  // A packet of two or more bytes gives at most 128 pixels.
  if ((size - TGA_HEADER_SIZE) / 2 < (count + 127) / 128) return RefuseImage("its pixels are cut short");
  out.pixels.resize(count * bytesPerPixel);
  size_t at = TGA_HEADER_SIZE;
  for (size_t written = 0; written < count;) {
    if (at >= size) return RefuseImage("its run-length data is cut short");
    uint8_t header = data[at++];
    bool run = (header & 0x80) != 0;
    size_t pixels = run ? header - 127u : header + 1u;
    size_t bytes = run ? bytesPerPixel : pixels * bytesPerPixel;
    if (pixels > count - written || bytes > size - at) return RefuseImage("its run-length data runs past the picture or the file");
    for (size_t i = 0; i < pixels; ++i, ++written) {
      StoreSwapped(data + at + (run ? 0 : i * bytesPerPixel), &out.pixels[written * bytesPerPixel], bytesPerPixel);
    }
    at += bytes;
  }
  return true;
}

}  // namespace

bool DecodeTga(const uint8_t* data, size_t size, ImageData& out) {
  out = ImageData{};
  if (size < TGA_HEADER_SIZE) return RefuseImage("its header is cut short");
  bool runLength = std::memcmp(data, TGA_RUN_LENGTH, 12) == 0;
  if (!runLength && std::memcmp(data, TGA_UNCOMPRESSED, 12) != 0) return RefuseImage("it is not an uncompressed or run-length true-colour TGA without a colour map");
  int width = LoadU16(data + 12);
  int height = LoadU16(data + 14);
  int bits = data[16];
  if (!ImageSizeAcceptable(width, height) || (bits != 24 && bits != 32)) return RefuseImage("its size is 0 or too large, or its depth is not 24 or 32 bits");
  int bytesPerPixel = bits / 8;
  out.width = width;
  out.height = height;
  if (bits == 24) {
    out.internalFormat = GL_RGB8;
    out.format = GL_RGB;
  }
  out.exactSize = true;
  bool ok = runLength ? ReadRunLength(data, size, out, bytesPerPixel) : ReadUncompressed(data, size, out, bytesPerPixel);
  if (!ok) out = ImageData{};
  return ok;
}
