#include <gtest/gtest.h>
#include <zlib.h>

#include "render/image/decoders.h"
#include "tests/support/image_fixtures.h"

namespace {

// A chunk as it stands in the file; lengthField overrides the length it claims.
std::vector<uint8_t> Chunk(const char* type, const std::string& data, uint32_t lengthField) {
  std::vector<uint8_t> chunk;
  for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(static_cast<uint8_t>(lengthField >> shift));
  chunk.insert(chunk.end(), type, type + 4);
  chunk.insert(chunk.end(), data.begin(), data.end());
  uLong crc = crc32(0, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4));
  for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(static_cast<uint8_t>(crc >> shift));
  return chunk;
}

// The fixture with a chunk put right after its header.
std::vector<uint8_t> WithChunkAfterHeader(const std::string& name, const std::vector<uint8_t>& chunk) {
  constexpr size_t END_OF_HEADER = 8 + 25;
  std::vector<uint8_t> bytes = ImageFixture(name);
  bytes.insert(bytes.begin() + END_OF_HEADER, chunk.begin(), chunk.end());
  return bytes;
}

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

TEST(PngDecoder, MetadataChunksChangeNoPixelAndOneThatClaimsGigabytesIsRefusedUnread) {
  const std::string text = std::string("Title") + '\0' + "five by three";
  for (const char* type : {"tEXt", "iCCP", "eXIf"}) {
    std::vector<uint8_t> bytes = WithChunkAfterHeader("palette.png", Chunk(type, text, static_cast<uint32_t>(text.size())));
    ImageData image;
    ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), image)) << type;
    ExpectFixturePixels(image, type);
  }
  // Read whole, this length field alone would allocate 1.9 GB.
  std::vector<uint8_t> lying = WithChunkAfterHeader("palette.png", Chunk("tEXt", text, 1958367525u));
  ImageData image;
  EXPECT_FALSE(DecodePng(lying.data(), lying.size(), image));
  EXPECT_TRUE(image.pixels.empty());
}

}  // namespace
