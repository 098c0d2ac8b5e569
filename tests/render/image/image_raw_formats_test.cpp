#include <cmath>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "render/image/decoders.h"
#include "tests/support/image_fixtures.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

void Append(std::vector<uint8_t>& bytes, std::initializer_list<int> values) {
  for (int v : values) bytes.push_back(static_cast<uint8_t>(v));
}

bool DecodeHdrBytes(const std::vector<uint8_t>& bytes, ImageData& image) { return DecodeHdr(bytes.data(), bytes.size(), image); }

TEST(HdrDecoder, RunLengthScanlinesKeepRgbeBytesInFileOrder) {
  ImageData image;
  std::vector<uint8_t> bytes = ImageFixture("wide.hdr");
  ASSERT_TRUE(DecodeHdrBytes(bytes, image));
  EXPECT_EQ(image.width, 16);
  EXPECT_EQ(image.height, 4);
  EXPECT_TRUE(image.exactSize);
  EXPECT_EQ(image.internalFormat, static_cast<GLenum>(GL_RGBA8));
  // Written from (x * 16, y * 60, 128): row 0 is the file's first scanline, colours stay RGBE.
  auto channel = [&](int x, int y, int c) {
    auto p = PixelAt(image, x, y);
    return std::ldexp(static_cast<double>(p[c]), p[3] - 136);
  };
  EXPECT_EQ(channel(0, 0, 0), 0.0);
  EXPECT_EQ(channel(0, 0, 1), 0.0);
  EXPECT_GT(channel(0, 0, 2), 0.0);
  EXPECT_GT(channel(0, 3, 1), channel(0, 1, 1));
  EXPECT_GT(channel(15, 2, 0), channel(1, 2, 0));
  std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 5);
  EXPECT_FALSE(DecodeHdrBytes(cut, image));
}

std::vector<uint8_t> HdrHeader(const std::string& format, const std::string& resolution) {
  return Bytes("#?RADIANCE\n# comment\nFORMAT=" + format + "\r\n\r\n" + resolution);
}

TEST(HdrDecoder, HeaderMustNameRadianceAndRgbeAndAPositiveSize) {
  ImageData image;
  std::vector<uint8_t> flat = HdrHeader("32-bit_rle_rgbe", "-Y 1 +X 2\n");
  Append(flat, {1, 2, 3, 4, 5, 6, 7, 8});
  ASSERT_TRUE(DecodeHdrBytes(flat, image));
  EXPECT_EQ(PixelAt(image, 1, 0), (std::array<int, 4>{5, 6, 7, 8}));

  std::vector<uint8_t> xyze = HdrHeader("32-bit_rle_xyze", "-Y 1 +X 2\n");
  Append(xyze, {1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_FALSE(DecodeHdrBytes(xyze, image));
  for (const char* resolution : {"-Y 0 +X 2\n", "-Y 1 +Z 2\n", "-Y -1 +X 2\n", "-Y 1 +X 99999\n"}) {
    std::vector<uint8_t> bad = HdrHeader("32-bit_rle_rgbe", resolution);
    Append(bad, {1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_FALSE(DecodeHdrBytes(bad, image)) << resolution;
  }
  EXPECT_FALSE(DecodeHdrBytes(Bytes("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n"), image));  // no empty line
  EXPECT_FALSE(DecodeHdrBytes(Bytes("#?RGBE\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 1\n\1\2\3\4"), image));
}

TEST(HdrDecoder, ResolutionWithXFirstGivesAnXWideTextureFilledByColumns) {
  ImageData image;
  std::vector<uint8_t> bytes = HdrHeader("32-bit_rle_rgbe", "+X 2 +Y 3\n");
  // Two scanlines of three pixels, running down the columns.
  Append(bytes, {10, 0, 0, 0, 11, 0, 0, 0, 12, 0, 0, 0, 20, 0, 0, 0, 21, 0, 0, 0, 22, 0, 0, 0});
  ASSERT_TRUE(DecodeHdrBytes(bytes, image));
  EXPECT_EQ(image.width, 2);
  EXPECT_EQ(image.height, 3);
  EXPECT_EQ(PixelAt(image, 0, 2)[0], 12);
  EXPECT_EQ(PixelAt(image, 1, 0)[0], 20);
}

TEST(HdrDecoder, OldFormatRepeatMarkersMultiplyAndAreBounded) {
  ImageData image;
  std::vector<uint8_t> bytes = HdrHeader("32-bit_rle_rgbe", "-Y 1 +X 300\n");
  // One pixel, then markers 43 and 1: 43 + 1 * 256 = 299 repeats.
  Append(bytes, {9, 8, 7, 6, 1, 1, 1, 43, 1, 1, 1, 1});
  ASSERT_TRUE(DecodeHdrBytes(bytes, image));
  EXPECT_EQ(PixelAt(image, 299, 0), (std::array<int, 4>{9, 8, 7, 6}));

  std::vector<uint8_t> tooLong = HdrHeader("32-bit_rle_rgbe", "-Y 1 +X 300\n");
  Append(tooLong, {9, 8, 7, 6, 1, 1, 1, 44, 1, 1, 1, 1});
  EXPECT_FALSE(DecodeHdrBytes(tooLong, image));
  std::vector<uint8_t> markerFirst = HdrHeader("32-bit_rle_rgbe", "-Y 1 +X 2\n");
  Append(markerFirst, {1, 1, 1, 1, 5, 5, 5, 5});
  EXPECT_FALSE(DecodeHdrBytes(markerFirst, image));
}

// A count of 128 is the longest literal run, not a run of zero repeats.
TEST(HdrDecoder, ALiteralRunOfExactly128BytesIsRead) {
  ImageData image;
  std::vector<uint8_t> bytes = HdrHeader("32-bit_rle_rgbe", "-Y 1 +X 128\n");
  Append(bytes, {2, 2, 0, 128});
  for (int component = 0; component < 4; ++component) {
    bytes.push_back(128);
    for (int x = 0; x < 128; ++x) bytes.push_back(static_cast<uint8_t>(x + component));
  }
  ASSERT_TRUE(DecodeHdrBytes(bytes, image));
  EXPECT_EQ(PixelAt(image, 0, 0), (std::array<int, 4>{0, 1, 2, 3}));
  EXPECT_EQ(PixelAt(image, 127, 0), (std::array<int, 4>{127, 128, 129, 130}));
  bytes.pop_back();
  EXPECT_FALSE(DecodeHdrBytes(bytes, image)) << "one byte short";
}

TEST(HdrDecoder, NewRunLengthScanlinesCheckTheirLengthAndRuns) {
  ImageData image;
  std::vector<uint8_t> good = HdrHeader("32-bit_rle_rgbe", "-Y 1 +X 8\n");
  Append(good, {2, 2, 0, 8});
  for (int component = 0; component < 4; ++component) Append(good, {128 + 8, 40 + component});
  ASSERT_TRUE(DecodeHdrBytes(good, image));
  EXPECT_EQ(PixelAt(image, 7, 0), (std::array<int, 4>{40, 41, 42, 43}));

  std::vector<uint8_t> wrongLength = HdrHeader("32-bit_rle_rgbe", "-Y 1 +X 8\n");
  Append(wrongLength, {2, 2, 0, 9, 128 + 8, 1, 128 + 8, 1, 128 + 8, 1, 128 + 8, 1});
  EXPECT_FALSE(DecodeHdrBytes(wrongLength, image));
  std::vector<uint8_t> overrun = HdrHeader("32-bit_rle_rgbe", "-Y 1 +X 8\n");
  Append(overrun, {2, 2, 0, 8, 128 + 9, 1});
  EXPECT_FALSE(DecodeHdrBytes(overrun, image));
}

// A DXT1 cube map header as the decoder demands it, followed by dataSize bytes.
std::vector<uint8_t> DdsCube(uint32_t width, uint32_t height, uint32_t levels, uint64_t dataSize) {
  std::vector<uint8_t> bytes(128 + dataSize, 0);
  auto put = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  auto text = [&](size_t at, const char* four) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(four[i]);
  };
  text(0, "DDS ");
  put(4, 124);
  put(8, 0x21007);
  put(12, height);
  put(16, width);
  put(28, levels);
  put(76, 32);
  text(84, "DXT1");
  put(112, 0xFE00);
  for (size_t i = 128; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  return bytes;
}

TEST(DdsDecoder, CubeMapSizeFollowsTheLevelArithmetic) {
  EXPECT_EQ(Dxt1CubeSize(256, 256, 9), 262224u);
  std::vector<uint8_t> bytes = DdsCube(256, 256, 9, 262224);
  ImageData image;
  ASSERT_TRUE(DecodeDds(bytes.data(), bytes.size(), image));
  EXPECT_EQ(image.target, static_cast<GLenum>(GL_TEXTURE_CUBE_MAP));
  EXPECT_EQ(image.internalFormat, static_cast<GLenum>(GL_COMPRESSED_RGB_S3TC_DXT1_EXT));
  EXPECT_EQ(image.format, 0u);
  EXPECT_EQ(image.filter, static_cast<GLenum>(GL_LINEAR));
  EXPECT_EQ(image.wrap, static_cast<GLenum>(GL_CLAMP_TO_EDGE));
  EXPECT_EQ(image.levels, 9u);
  ASSERT_EQ(image.pixels.size(), 262224u);
  EXPECT_EQ(image.pixels[5], bytes[133]);
  std::vector<uint8_t> shortFile(bytes.begin(), bytes.end() - 1);
  EXPECT_FALSE(DecodeDds(shortFile.data(), shortFile.size(), image));
}

TEST(DdsDecoder, HeaderChecksRefuseEverythingButDxt1CubeMaps) {
  ImageData image;
  auto refuses = [&](size_t at, const char* value, size_t length) {
    std::vector<uint8_t> bytes = DdsCube(8, 8, 1, Dxt1CubeSize(8, 8, 1));
    std::memcpy(&bytes[at], value, length);
    return !DecodeDds(bytes.data(), bytes.size(), image);
  };
  EXPECT_TRUE(refuses(112, "\0\0\0\0", 4));        // a 2D texture
  EXPECT_TRUE(refuses(113, "\xFC", 1));             // five faces
  EXPECT_TRUE(refuses(84, "DXT5", 4));
  EXPECT_TRUE(refuses(0, "DDS\0", 4));
  EXPECT_TRUE(refuses(4, "\x7C\0\0\1", 4));
  EXPECT_TRUE(refuses(8, "\x07\0\0\0", 4));         // no mipmap count flag
  EXPECT_TRUE(refuses(24, "\2", 1));                // a volume
  EXPECT_TRUE(refuses(76, "\x20\1", 2));
  EXPECT_TRUE(refuses(28, "\0", 1));                // no levels
  EXPECT_TRUE(refuses(28, "\xFF\xFF\xFF\xFF", 4));
  EXPECT_TRUE(refuses(16, "\0\0\1\0", 4));          // 65536 wide
  EXPECT_FALSE(refuses(8, "\x0F\x10\x0A\0", 4));    // more flags than needed are fine
  std::vector<uint8_t> header(100, 0);
  EXPECT_FALSE(DecodeDds(header.data(), header.size(), image));
}

TEST(DdsDecoder, RealCubeMapFromAnotherToolLoadsAndTwoDimensionalOnesAreRefused) {
  ImageData image;
  // This writer stores depth 1 for its one slice.
  std::vector<uint8_t> cube = ImageFixture("dxt1-cube-mips.dds");
  ASSERT_TRUE(DecodeDds(cube.data(), cube.size(), image));
  EXPECT_EQ(image.width, 5);
  EXPECT_EQ(image.levels, 3u);
  EXPECT_EQ(image.pixels.size(), Dxt1CubeSize(5, 5, 3));
  std::vector<uint8_t> flat = ImageFixture("dxt1.dds");
  EXPECT_FALSE(DecodeDds(flat.data(), flat.size(), image));
}

TEST(Dxt1Decompression, FourColourAndThreeColourBlocks) {
  // c0 = pure red (F800) > c1 = pure blue (001F): index 2 is two thirds red.
  const uint8_t fourColour[8] = {0x00, 0xF8, 0x1F, 0x00, 0b11100100, 0, 0, 0};
  std::vector<uint8_t> pixels = DecompressDxt1(fourColour, 4, 4);
  EXPECT_EQ(pixels[0], 255);
  EXPECT_EQ(pixels[6], 255);  // texel 1 is blue
  EXPECT_EQ(pixels[8], 170);  // texel 2 red channel
  // c0 <= c1: index 3 is transparent black; a 2x2 level reads the block's top-left texels.
  const uint8_t threeColour[8] = {0x1F, 0x00, 0x00, 0xF8, 0b00001100, 0b00000010, 0, 0};
  pixels = DecompressDxt1(threeColour, 2, 2);
  ASSERT_EQ(pixels.size(), 16u);
  EXPECT_EQ(pixels[2], 255);        // (0, 0): c0, blue
  EXPECT_EQ(pixels[4 + 3], 0);      // (1, 0): transparent
  EXPECT_EQ(pixels[8], 127);        // (0, 1): half way, red channel
  EXPECT_EQ(Dxt1LevelSize(5, 5), 32u);
  EXPECT_EQ(Dxt1LevelSize(1, 1), 8u);
}

std::vector<uint8_t> TgaHeader(int type, int width, int height, int bits, int descriptor) {
  std::vector<uint8_t> bytes(18, 0);
  bytes[2] = static_cast<uint8_t>(type);
  bytes[12] = static_cast<uint8_t>(width);
  bytes[13] = static_cast<uint8_t>(width >> 8);
  bytes[14] = static_cast<uint8_t>(height);
  bytes[15] = static_cast<uint8_t>(height >> 8);
  bytes[16] = static_cast<uint8_t>(bits);
  bytes[17] = static_cast<uint8_t>(descriptor);
  return bytes;
}

TEST(TgaDecoder, FixturesFromAnotherToolDecodeToTheSameRows) {
  ImageData plain, runLength, withAlpha;
  std::vector<uint8_t> a = ImageFixture("rgb24.tga"), b = ImageFixture("rle24.tga"), c = ImageFixture("rle32.tga");
  ASSERT_TRUE(DecodeTga(a.data(), a.size(), plain));
  ASSERT_TRUE(DecodeTga(b.data(), b.size(), runLength));
  ASSERT_TRUE(DecodeTga(c.data(), c.size(), withAlpha));
  EXPECT_EQ(plain.internalFormat, static_cast<GLenum>(GL_RGB8));
  EXPECT_EQ(plain.format, static_cast<GLenum>(GL_RGB));
  EXPECT_EQ(withAlpha.internalFormat, static_cast<GLenum>(GL_RGBA8));
  EXPECT_EQ(plain.pixels, runLength.pixels);
  EXPECT_EQ(plain.width, 5);
  EXPECT_EQ(plain.height, 3);
  EXPECT_TRUE(plain.exactSize);
  // Row 0 is the first stored row, whatever the origin; compare against the stored bytes.
  EXPECT_EQ(PixelAt(plain, 1, 0), (std::array<int, 4>{a[23], a[22], a[21], -1}));
  for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(withAlpha, x, 0)[1], PixelAt(plain, x, 0)[1]);
}

TEST(TgaDecoder, BottomLeftOriginKeepsTheFileRowOrder) {
  std::vector<uint8_t> bytes = TgaHeader(2, 1, 2, 24, 0);
  Append(bytes, {1, 2, 3, 4, 5, 6});  // the bottom row is stored first
  ImageData image;
  ASSERT_TRUE(DecodeTga(bytes.data(), bytes.size(), image));
  EXPECT_EQ(PixelAt(image, 0, 0), (std::array<int, 4>{3, 2, 1, -1}));
  EXPECT_EQ(PixelAt(image, 0, 1), (std::array<int, 4>{6, 5, 4, -1}));
}

TEST(TgaDecoder, RunLengthPacketsAreBoundedByTheImage) {
  std::vector<uint8_t> good = TgaHeader(10, 3, 1, 32, 8);
  Append(good, {0x81, 1, 2, 3, 4, 0x00, 5, 6, 7, 8});  // run of 2, literal of 1
  ImageData image;
  ASSERT_TRUE(DecodeTga(good.data(), good.size(), image));
  EXPECT_EQ(PixelAt(image, 1, 0), (std::array<int, 4>{3, 2, 1, 4}));
  EXPECT_EQ(PixelAt(image, 2, 0), (std::array<int, 4>{7, 6, 5, 8}));

  std::vector<uint8_t> overrun = TgaHeader(10, 3, 1, 32, 8);
  Append(overrun, {0x83, 1, 2, 3, 4});
  EXPECT_FALSE(DecodeTga(overrun.data(), overrun.size(), image));
  std::vector<uint8_t> truncated = TgaHeader(10, 3, 1, 24, 0);
  Append(truncated, {0x02, 1, 2, 3});
  EXPECT_FALSE(DecodeTga(truncated.data(), truncated.size(), image));
}

TEST(TgaDecoder, OtherTypesDepthsAndSizesAreRefused) {
  ImageData image;
  std::vector<uint8_t> sixteen = TgaHeader(2, 1, 1, 16, 0);
  Append(sixteen, {1, 2});
  EXPECT_FALSE(DecodeTga(sixteen.data(), sixteen.size(), image));
  std::vector<uint8_t> withIdentifier = TgaHeader(2, 1, 1, 24, 0);
  withIdentifier[0] = 1;
  Append(withIdentifier, {9, 1, 2, 3});
  EXPECT_FALSE(DecodeTga(withIdentifier.data(), withIdentifier.size(), image));
  std::vector<uint8_t> colourMapped = TgaHeader(1, 1, 1, 24, 0);
  EXPECT_FALSE(DecodeTga(colourMapped.data(), colourMapped.size(), image));
  std::vector<uint8_t> empty = TgaHeader(2, 0, 4, 24, 0);
  EXPECT_FALSE(DecodeTga(empty.data(), empty.size(), image));
  std::vector<uint8_t> shortData = TgaHeader(2, 2, 2, 24, 0);
  Append(shortData, {1, 2, 3});
  EXPECT_FALSE(DecodeTga(shortData.data(), shortData.size(), image));
}

}  // namespace
