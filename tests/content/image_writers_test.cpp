// The showcase's image writers, read back by the engine's own decoders: what is written is what
// the engine sees, including the run-length packets at their limits.
#include <array>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "content/showcase/generators/image_writers.h"
#include "render/image/decoders.h"

namespace {

// A picture with long runs (longer than one packet), single odd pixels and transparency.
Rgba8Image MixedPicture(int width, int height) {
  Rgba8Image image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = image.At(x, y);
      bool run = y % 3 == 0 || x < width / 2;
      p[0] = run ? 200 : static_cast<uint8_t>(x * 7 + y);
      p[1] = run ? 40 : static_cast<uint8_t>(x * 13);
      p[2] = run ? 90 : static_cast<uint8_t>(y * 5);
      p[3] = (x + y) % 5 == 0 ? 0 : 255;
    }
  }
  return image;
}

void ExpectPixels(const ImageData& decoded, const Rgba8Image& expected, bool withAlpha) {
  ASSERT_EQ(decoded.width, expected.width);
  ASSERT_EQ(decoded.height, expected.height);
  int channels = BytesPerPixel(decoded);
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) {
      const uint8_t* got = &decoded.pixels[(static_cast<size_t>(y) * decoded.width + x) * channels];
      ASSERT_EQ(std::memcmp(got, expected.At(x, y), withAlpha ? 4 : 3), 0) << "pixel " << x << ", " << y;
    }
  }
}

TEST(ImageWriters, RunLengthTgaReadsBackPixelForPixelAndIsSmallerThanRaw) {
  Rgba8Image image = MixedPicture(300, 7);  // rows longer than two packets of 128
  std::vector<uint8_t> tga = WriteTgaRle(image);
  ImageData decoded;
  ASSERT_TRUE(DecodeTga(tga.data(), tga.size(), decoded));
  ExpectPixels(decoded, image, true);
  EXPECT_LT(tga.size(), 18u + image.pixels.size() * 3 / 4) << "runs are packed";

  Rgba8Image noisy(129, 2);  // a literal packet of 128 and one more
  for (size_t i = 0; i < noisy.pixels.size(); ++i) noisy.pixels[i] = static_cast<uint8_t>(i * 31 + i / 4);
  tga = WriteTgaRle(noisy);
  ASSERT_TRUE(DecodeTga(tga.data(), tga.size(), decoded));
  ExpectPixels(decoded, noisy, true);
}

TEST(ImageWriters, BitmapCarriesTransparencyAsTheBlueKey) {
  Rgba8Image image = MixedPicture(33, 9);  // rows padded to four bytes
  image.At(1, 1)[0] = 0, image.At(1, 1)[1] = 0, image.At(1, 1)[2] = 255, image.At(1, 1)[3] = 255;
  std::vector<uint8_t> bmp = WriteBmpWithBlueKey(image);
  ImageData decoded;
  ASSERT_TRUE(DecodePicture(bmp.data(), bmp.size(), decoded));
  ASSERT_EQ(decoded.width, 33);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 33; ++x) {
      const uint8_t* got = &decoded.pixels[(static_cast<size_t>(y) * 33 + x) * 4];
      const uint8_t* want = image.At(x, y);
      if (want[3] == 0) {
        EXPECT_EQ(got[3], 0) << x << ", " << y;
      } else if (x == 1 && y == 1) {
        EXPECT_EQ(got[3], 255) << "an opaque pure blue is moved off the key";
        EXPECT_EQ(got[2], 254);
      } else {
        ASSERT_EQ(std::memcmp(got, want, 4), 0) << x << ", " << y;
      }
    }
  }
}

TEST(ImageWriters, RadianceRunsDecodeToTheSameRgbeBytes) {
  RadianceImage image(200, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 200; ++x) {
      float* p = image.At(x, y);
      bool flat = x < 150;
      p[0] = flat ? 3.5f : 0.01f * x;
      p[1] = flat ? 0.25f : 0.001f * x * y;
      p[2] = flat ? 40.0f : (x % 2 ? 0.0f : 100.0f);
    }
  }
  std::vector<uint8_t> hdr = WriteHdrRle(image);
  ImageData decoded;
  ASSERT_TRUE(DecodeHdr(hdr.data(), hdr.size(), decoded));
  ASSERT_EQ(decoded.width, 200);
  ASSERT_EQ(decoded.height, 5);
  for (size_t i = 0; i < 200u * 5u; ++i) {
    std::array<uint8_t, 4> rgbe = ToRgbe(&image.pixels[i * 3]);
    ASSERT_EQ(std::memcmp(rgbe.data(), &decoded.pixels[i * 4], 4), 0) << "pixel " << i;
  }
  EXPECT_LT(hdr.size(), 200u * 5u * 4u / 2u) << "runs are packed";
  const float black[3] = {0, 0, 0};
  EXPECT_EQ(ToRgbe(black), (std::array<uint8_t, 4>{0, 0, 0, 0}));
  const float one[3] = {1, 0.5f, 0.25f};
  EXPECT_EQ(ToRgbe(one), (std::array<uint8_t, 4>{128, 64, 32, 129}));
}

TEST(ImageWriters, CubeMapFacesDecodeInOrderCloseToTheirPictures) {
  std::array<Rgba8Image, 6> faces;
  for (int f = 0; f < 6; ++f) {
    faces[f] = Rgba8Image(16, 16);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        uint8_t* p = faces[f].At(x, y);
        // One gradient a face (what DXT1's four colours a block follow well), each face its own red.
        p[0] = static_cast<uint8_t>(f * 40), p[1] = static_cast<uint8_t>(x * 16), p[2] = static_cast<uint8_t>(x * 8), p[3] = 255;
      }
    }
  }
  std::vector<uint8_t> dds = WriteDdsCube(faces);
  ImageData decoded;
  ASSERT_TRUE(DecodeDds(dds.data(), dds.size(), decoded));
  EXPECT_EQ(decoded.target, static_cast<GLenum>(GL_TEXTURE_CUBE_MAP));
  EXPECT_EQ(decoded.width, 16);
  for (size_t f = 0; f < 6; ++f) {
    std::vector<uint8_t> pixels = DecompressDxt1(&decoded.pixels[f * Dxt1LevelSize(16, 16)], 16, 16);
    double error = 0.0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
      for (int c = 0; c < 3; ++c) error += std::abs(pixels[i + c] - faces[f].pixels[i + c]);
    }
    EXPECT_LT(error / (16.0 * 16.0 * 3.0), 4.0) << "face " << f;
  }
  faces[3] = Rgba8Image(8, 8);
  EXPECT_TRUE(WriteDdsCube(faces).empty()) << "faces of different sizes make no cube";
}

TEST(ImageWriters, PngAndJpegDecodeAsWritten) {
  Rgba8Image image = MixedPicture(64, 48);
  std::vector<uint8_t> png = WritePng(image);
  ImageData decoded;
  ASSERT_TRUE(DecodePng(png.data(), png.size(), decoded));
  ExpectPixels(decoded, image, true);

  Rgba8Image smooth(64, 48);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      uint8_t* p = smooth.At(x, y);
      p[0] = static_cast<uint8_t>(x * 4), p[1] = static_cast<uint8_t>(y * 5), p[2] = 128, p[3] = 255;
    }
  }
  std::vector<uint8_t> jpeg = WriteJpeg(smooth, 90);
  ASSERT_TRUE(DecodeJpeg(jpeg.data(), jpeg.size(), decoded));
  ASSERT_EQ(decoded.width, 64);
  double error = 0.0;
  for (size_t i = 0; i < decoded.pixels.size(); i += 4) {
    for (int c = 0; c < 3; ++c) error += std::abs(decoded.pixels[i + c] - smooth.pixels[i + c]);
  }
  EXPECT_LT(error / (64.0 * 48.0 * 3.0), 2.0);
}

}  // namespace
