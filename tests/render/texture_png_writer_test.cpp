// Both compressions of the PNG writer decode to the very pixels they were given: the fast one
// that frames are written with is checked against the default.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "render/image/decoders.h"
#include "render/texture_png_writer.h"

namespace {

// Smooth gradients, flat runs, hard edges and noise, with alpha: every kind of row a filter meets.
std::vector<uint8_t> Picture(int width, int height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  uint32_t noise = 12345;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
      noise = noise * 1664525u + 1013904223u;
      p[0] = static_cast<uint8_t>(x * 255 / (width - 1));
      p[1] = y < height / 2 ? 40 : static_cast<uint8_t>(noise >> 24);
      p[2] = (x / 7 + y / 5) % 2 ? 255 : 0;
      p[3] = static_cast<uint8_t>(255 - y);
    }
  }
  return pixels;
}

TEST(PngWriter, EveryCompressionDecodesToThePixelsItWasGiven) {
  constexpr int WIDTH = 97, HEIGHT = 61;
  const std::vector<uint8_t> pixels = Picture(WIDTH, HEIGHT);
  std::vector<size_t> sizes;
  for (PngCompression compression : {PngCompression::Small, PngCompression::Fast}) {
    const std::vector<uint8_t> png = EncodeRgbaPng(pixels.data(), WIDTH, HEIGHT, "test", compression);
    ImageData image;
    ASSERT_TRUE(DecodePng(png.data(), png.size(), image));
    EXPECT_EQ(image.width, WIDTH);
    EXPECT_EQ(image.height, HEIGHT);
    EXPECT_TRUE(image.pixels == pixels);
    sizes.push_back(png.size());
  }
  // The fast file is compressed at all, not stored.
  EXPECT_LT(sizes[1], pixels.size());
}

}  // namespace
