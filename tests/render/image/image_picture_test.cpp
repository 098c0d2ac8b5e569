#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

#include "render/image/decoders.h"
#include "tests/support/image_fixtures.h"

namespace {

ImageData DecodeFixture(const std::string& name) {
  std::vector<uint8_t> bytes = ImageFixture(name);
  ImageData image;
  EXPECT_TRUE(DecodePicture(bytes.data(), bytes.size(), image)) << name;
  return image;
}

// Fixture pixel (0, 0) is pure blue, the transparent colour; every other pixel is opaque.
void ExpectFixture(const ImageData& image, const std::string& name, int tolerance) {
  ASSERT_EQ(image.width, 5) << name;
  ASSERT_EQ(image.height, 3) << name;
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      auto color = FixtureColor(x, y);
      auto pixel = PixelAt(image, x, y);
      for (int c = 0; c < 3; ++c) EXPECT_LE(std::abs(pixel[c] - color[c]), tolerance) << name << " " << x << "," << y;
      if (tolerance == 0) {
        EXPECT_EQ(pixel[3], x == 0 && y == 0 ? 0 : 255) << name << " " << x << "," << y;
      }
    }
  }
}

TEST(PictureDecoder, BitmapsOfEveryDepthGiveTheSamePixelsWithBlueTransparent) {
  // 4-bit palette, RLE8, 24-bit and 16-bit 5-6-5 bit fields (exact after rounding to 5/6 bits).
  for (const char* name : {"palette8.bmp", "rle8.bmp", "rgb24.bmp"}) ExpectFixture(DecodeFixture(name), name, 0);
  ExpectFixture(DecodeFixture("rgb565.bmp"), "rgb565.bmp", 8);
}

TEST(PictureDecoder, GifAndJpegDecodeTopRowFirst) {
  ExpectFixture(DecodeFixture("rgb.gif"), "rgb.gif", 0);
  for (const char* name : {"rgb.jpg", "progressive.jpg", "cmyk.jpg"}) ExpectFixture(DecodeFixture(name), name, 12);
  ImageData grey = DecodeFixture("grey.jpg");
  ASSERT_EQ(grey.width, 5);
  EXPECT_LE(std::abs(PixelAt(grey, 4, 2)[0] - 220), 6);
  EXPECT_EQ(PixelAt(grey, 4, 2)[0], PixelAt(grey, 4, 2)[2]);
}

TEST(PictureDecoder, InterlacedGifRowsLandInDisplayOrder) {
  ImageData image = DecodeFixture("interlaced.gif");  // 4 x 11, drawn as (x * 60, y * 20, 7)
  ASSERT_EQ(image.width, 4);
  ASSERT_EQ(image.height, 11);
  for (int y = 0; y < 11; ++y) {
    EXPECT_EQ(PixelAt(image, 1, y), (std::array<int, 4>{60, y * 20, 7, 255})) << y;
  }
}

TEST(PictureDecoder, GifTransparencyAndUncoveredScreenAreBlack) {
  ImageData transparent = DecodeFixture("transparent.gif");
  ASSERT_EQ(transparent.width, 5);
  EXPECT_EQ(PixelAt(transparent, 1, 1), (std::array<int, 4>{0, 0, 0, 255}));  // transparent index
  EXPECT_EQ(PixelAt(transparent, 1, 0), (std::array<int, 4>{50, 0, 215, 255}));
  ImageData frame = DecodeFixture("frame.gif");  // a 3 x 2 red frame at (2, 1) on a 6 x 4 screen
  ASSERT_EQ(frame.width, 6);
  ASSERT_EQ(frame.height, 4);
  EXPECT_EQ(PixelAt(frame, 2, 1), (std::array<int, 4>{255, 0, 0, 255}));
  EXPECT_EQ(PixelAt(frame, 4, 2), (std::array<int, 4>{255, 0, 0, 255}));
  EXPECT_EQ(PixelAt(frame, 1, 1), (std::array<int, 4>{0, 0, 0, 255}));
  EXPECT_EQ(PixelAt(frame, 5, 3), (std::array<int, 4>{0, 0, 0, 255}));
}

TEST(PictureDecoder, ThirtyTwoBitBitmapTakesAlphaFromTheFileNotTheBlueKey) {
  // Written with a V5 header, so its pixels start at offset 138, not 54.
  ImageData image = DecodeFixture("rgba32.bmp");
  ASSERT_EQ(image.width, 5);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(PixelAt(image, x, y)[3], x == y ? 0 : 255) << x << "," << y;
      if (x != y) {
        EXPECT_EQ(PixelAt(image, x, y)[1], y * 100);
      }
    }
  }
}

// A bitmap written here byte by byte, for the cases the fixtures do not reach.
class BitmapBuilder {
 public:
  BitmapBuilder(int headerSize, int width, int height, int bits, int compression) {
    mBytes.assign(14 + headerSize, 0);
    mBytes[0] = 'B';
    mBytes[1] = 'M';
    Put32(14, headerSize);
    if (headerSize == 12) {
      Put16(18, width);
      Put16(20, height);
      Put16(22, 1);
      Put16(24, bits);
    } else {
      Put32(18, width);
      Put32(22, height);
      Put16(26, 1);
      Put16(28, bits);
      Put32(30, compression);
    }
  }
  void Palette(const std::vector<std::array<uint8_t, 3>>& colors, bool core) {
    for (const auto& c : colors) {
      mBytes.insert(mBytes.end(), {c[2], c[1], c[0]});
      if (!core) mBytes.push_back(0);
    }
  }
  void Pixels(const std::vector<uint8_t>& data) {
    Put32(10, static_cast<uint32_t>(mBytes.size()));
    mBytes.insert(mBytes.end(), data.begin(), data.end());
  }
  ImageData Decode(bool expectOk = true) const {
    ImageData image;
    EXPECT_EQ(DecodePicture(mBytes.data(), mBytes.size(), image), expectOk);
    return image;
  }

 private:
  void Put16(size_t at, uint32_t v) {
    mBytes[at] = static_cast<uint8_t>(v);
    mBytes[at + 1] = static_cast<uint8_t>(v >> 8);
  }
  void Put32(size_t at, uint32_t v) {
    Put16(at, v);
    Put16(at + 2, v >> 16);
  }
  std::vector<uint8_t> mBytes;
};

const std::vector<std::array<uint8_t, 3>> FOUR_COLORS = {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}, {10, 20, 30}};

TEST(PictureDecoder, RunLengthFourBitsHandlesRunsLiteralsLineEndsAndJumps) {
  BitmapBuilder bmp(40, 4, 3, 4, 2);
  bmp.Palette(FOUR_COLORS, false);
  // Bottom row: run of 4 alternating 1,2, end of line. Middle row: literal 3,1,3, end of line.
  // Then a jump of (1, 0) and a run of 2 of index 3 on the top row, end of bitmap.
  bmp.Pixels({4, 0x12, 0, 0, 0, 3, 0x31, 0x30, 0, 0, 0, 2, 1, 0, 2, 0x33, 0, 1});
  ImageData image = bmp.Decode();
  ASSERT_EQ(image.height, 3);
  EXPECT_EQ(PixelAt(image, 0, 2), (std::array<int, 4>{255, 0, 0, 255}));
  EXPECT_EQ(PixelAt(image, 1, 2), (std::array<int, 4>{0, 0, 255, 0}));  // pure blue: transparent
  EXPECT_EQ(PixelAt(image, 2, 1), (std::array<int, 4>{10, 20, 30, 255}));
  EXPECT_EQ(PixelAt(image, 3, 1), (std::array<int, 4>{0, 0, 0, 255}));  // skipped by the line end
  EXPECT_EQ(PixelAt(image, 0, 0), (std::array<int, 4>{0, 0, 0, 255}));  // skipped by the jump
  EXPECT_EQ(PixelAt(image, 1, 0), (std::array<int, 4>{10, 20, 30, 255}));
  EXPECT_EQ(PixelAt(image, 2, 0), (std::array<int, 4>{10, 20, 30, 255}));
}

TEST(PictureDecoder, RunLengthDataCannotWriteOutsideTheImage) {
  BitmapBuilder bmp(40, 2, 2, 8, 1);
  bmp.Palette(FOUR_COLORS, false);
  // A run far past the row end, a jump far past the image, then more runs.
  bmp.Pixels({255, 1, 0, 2, 200, 200, 9, 2, 0, 0, 3, 2, 0, 1});
  ImageData image = bmp.Decode();
  EXPECT_EQ(PixelAt(image, 1, 1), (std::array<int, 4>{255, 0, 0, 255}));
  EXPECT_EQ(PixelAt(image, 0, 0), (std::array<int, 4>{0, 0, 0, 255}));
}

TEST(PictureDecoder, OneBitCoreHeaderAndTopDownBitmaps) {
  BitmapBuilder core(12, 9, 2, 1, 0);
  core.Palette({{0, 0, 0}, {200, 100, 50}}, true);
  core.Pixels({0x80, 0x80, 0, 0, 0x01, 0x00, 0, 0});  // bottom row: x0 set; top row: x7 set
  ImageData image = core.Decode();
  ASSERT_EQ(image.width, 9);
  EXPECT_EQ(PixelAt(image, 0, 1)[0], 200);
  EXPECT_EQ(PixelAt(image, 8, 1)[0], 200);
  EXPECT_EQ(PixelAt(image, 7, 0)[0], 200);
  EXPECT_EQ(PixelAt(image, 6, 0)[0], 0);

  BitmapBuilder topDown(40, 1, -2, 24, 0);
  topDown.Pixels({1, 2, 3, 0, 4, 5, 6, 0});
  image = topDown.Decode();
  ASSERT_EQ(image.height, 2);
  EXPECT_EQ(PixelAt(image, 0, 0), (std::array<int, 4>{3, 2, 1, 255}));
  EXPECT_EQ(PixelAt(image, 0, 1), (std::array<int, 4>{6, 5, 4, 255}));
}

TEST(PictureDecoder, MalformedBitmapsAreRefused) {
  BitmapBuilder truncated(40, 4, 4, 24, 0);
  truncated.Pixels(std::vector<uint8_t>(40, 7));  // needs 48 bytes
  truncated.Decode(false);
  BitmapBuilder noPalette(40, 4, 4, 8, 0);
  noPalette.Decode(false);
  BitmapBuilder badDepth(40, 4, 4, 7, 0);
  badDepth.Pixels(std::vector<uint8_t>(64, 0));
  badDepth.Decode(false);
  BitmapBuilder rleWithWrongDepth(40, 4, 4, 24, 1);
  rleWithWrongDepth.Pixels(std::vector<uint8_t>(64, 0));
  rleWithWrongDepth.Decode(false);
  BitmapBuilder huge(40, 100000, 100000, 24, 0);
  huge.Pixels({0});
  huge.Decode(false);
  ImageData image;
  const uint8_t notAPicture[] = "PK\3\4 something else";
  EXPECT_FALSE(DecodePicture(notAPicture, sizeof notAPicture, image));
}

TEST(PictureDecoder, TruncatedJpegAndGifAreRefused) {
  ImageData image;
  for (const char* name : {"rgb.jpg", "rgb.gif"}) {
    std::vector<uint8_t> bytes = ImageFixture(name);
    EXPECT_FALSE(DecodePicture(bytes.data(), bytes.size() / 3, image)) << name;
  }
}

}  // namespace
