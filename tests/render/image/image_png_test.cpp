#include <gtest/gtest.h>

#include "render/image/decoders.h"
#include "tests/support/image_fixtures.h"

namespace {

ImageData DecodeFixture(const std::string& name) {
  std::vector<uint8_t> bytes = ImageFixture(name);
  ImageData image;
  EXPECT_TRUE(DecodePng(bytes.data(), bytes.size(), image)) << name;
  return image;
}

void ExpectFixturePixels(const ImageData& image, const std::string& name) {
  ASSERT_EQ(image.width, 5) << name;
  ASSERT_EQ(image.height, 3) << name;
  EXPECT_EQ(image.internalFormat, static_cast<GLenum>(GL_RGBA8));
  EXPECT_EQ(image.filter, static_cast<GLenum>(GL_NEAREST));
  EXPECT_EQ(image.wrap, static_cast<GLenum>(GL_REPEAT));
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      auto color = FixtureColor(x, y);
      EXPECT_EQ(PixelAt(image, x, y), (std::array<int, 4>{color[0], color[1], color[2], 255})) << name << " " << x << "," << y;
    }
  }
}

TEST(PngDecoder, OpaqueFormatsGiveTheirColoursTopRowFirstWithAlpha255) {
  for (const char* name : {"rgb.png", "palette.png", "rgb16.png", "interlaced.png"}) ExpectFixturePixels(DecodeFixture(name), name);
}

TEST(PngDecoder, GreyBecomesGreyRgbWithAlpha255) {
  ImageData image = DecodeFixture("grey.png");
  ASSERT_EQ(image.width, 5);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      int grey = x * 50 + y * 10;
      EXPECT_EQ(PixelAt(image, x, y), (std::array<int, 4>{grey, grey, grey, 255}));
    }
  }
}

TEST(PngDecoder, AlphaComesFromTheAlphaChannelOrTheTransparencyChunk) {
  for (const char* name : {"rgba.png", "palette_trns.png"}) {
    ImageData image = DecodeFixture(name);
    ASSERT_EQ(image.width, 5) << name;
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) {
        auto color = FixtureColor(x, y);
        int alpha = x == y ? 0 : 255;
        auto pixel = PixelAt(image, x, y);
        EXPECT_EQ(pixel[3], alpha) << name << " " << x << "," << y;
        if (alpha) {
          EXPECT_EQ(pixel, (std::array<int, 4>{color[0], color[1], color[2], 255})) << name;
        }
      }
    }
  }
}

TEST(PngDecoder, CorruptOrTruncatedDataIsRefusedCleanly) {
  std::vector<uint8_t> bytes = ImageFixture("rgb.png");
  ImageData image;
  for (size_t cut : {size_t{0}, size_t{7}, size_t{33}, bytes.size() / 2, bytes.size() - 13}) {
    EXPECT_FALSE(DecodePng(bytes.data(), cut, image)) << cut;
    EXPECT_TRUE(image.pixels.empty());
  }
  std::vector<uint8_t> damaged = bytes;
  damaged[damaged.size() / 2] ^= 0x5A;  // breaks the data chunk's CRC
  EXPECT_FALSE(DecodePng(damaged.data(), damaged.size(), image));
}

TEST(PngDecoder, OversizedHeaderIsRefusedBeforeAllocating) {
  std::vector<uint8_t> bytes = ImageFixture("rgb.png");
  // Width 0x00100000 in the header; the CRC no longer matches either, both must refuse.
  bytes[16] = 0x00;
  bytes[17] = 0x10;
  ImageData image;
  EXPECT_FALSE(DecodePng(bytes.data(), bytes.size(), image));
}

}  // namespace
