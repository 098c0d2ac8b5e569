#include "render/image/decoders.h"

#include <array>

#include "render/image/image_bytes.h"

namespace {

using Color = std::array<uint8_t, 4>;

Color Expand565(uint16_t value) {
  int r = value >> 11 & 31, g = value >> 5 & 63, b = value & 31;
  return Color{static_cast<uint8_t>(r * 255 / 31), static_cast<uint8_t>(g * 255 / 63), static_cast<uint8_t>(b * 255 / 31), 255};
}

Color Mix(const Color& a, const Color& b, int weightA, int weightB) {
  Color mixed{};
  for (int i = 0; i < 3; ++i) mixed[i] = static_cast<uint8_t>((a[i] * weightA + b[i] * weightB) / (weightA + weightB));
  mixed[3] = 255;
  return mixed;
}

std::array<Color, 4> BlockPalette(const uint8_t* block) {
  uint16_t c0 = LoadU16(block), c1 = LoadU16(block + 2);
  Color a = Expand565(c0), b = Expand565(c1);
  if (c0 > c1) return {a, b, Mix(a, b, 2, 1), Mix(a, b, 1, 2)};
  return {a, b, Mix(a, b, 1, 1), Color{0, 0, 0, 0}};
}

}  // namespace

size_t Dxt1LevelSize(uint32_t width, uint32_t height) {
  return static_cast<size_t>((height + 3) / 4) * ((width + 3) / 4) * 8;
}

std::vector<uint8_t> DecompressDxt1(const uint8_t* blocks, uint32_t width, uint32_t height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  uint32_t blocksWide = (width + 3) / 4;
  for (uint32_t by = 0; by < (height + 3) / 4; ++by) {
    for (uint32_t bx = 0; bx < blocksWide; ++bx) {
      const uint8_t* block = blocks + (static_cast<size_t>(by) * blocksWide + bx) * 8;
      std::array<Color, 4> palette = BlockPalette(block);
      uint32_t indices = LoadU32(block + 4);
      for (uint32_t texel = 0; texel < 16; ++texel) {
        uint32_t x = bx * 4 + texel % 4, y = by * 4 + texel / 4;
        if (x >= width || y >= height) continue;
        const Color& color = palette[indices >> (2 * texel) & 3];
        for (int i = 0; i < 4; ++i) pixels[(static_cast<size_t>(y) * width + x) * 4 + i] = color[i];
      }
    }
  }
  return pixels;
}
