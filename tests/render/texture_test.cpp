#include <unistd.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "render/texture.h"
#include "render/texture_manager.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/png_reading.h"

namespace {

class TextureTest : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    mSavedFlag = gTextureManager.IsNonPowerOfTwo();
  }
  void TearDown() override { gTextureManager.SetNonPowerOfTwo(mSavedFlag); }

  static std::string TempPng(const char* stem) {
    return "/tmp/torvane-texture-" + std::string(stem) + "-" + std::to_string(getpid()) + ".png";
  }

  // Writes texture through writeToFile and reads the PNG back; not ok when writing failed.
  static DecodedPng WriteAndRead(const cTexture& texture, const char* stem) {
    std::string path = TempPng(stem);
    if (!texture.writeToFile(path.c_str())) return DecodedPng{};
    DecodedPng png = ReadPngFile(path);
    std::remove(path.c_str());
    return png;
  }

  static void SetPixel(cTexture& texture, int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    uint8_t* p = texture.getData() + (static_cast<size_t>(y) * texture.GetWidth() + x) * 4;
    p[0] = r;
    p[1] = g;
    p[2] = b;
    p[3] = a;
  }

  bool mSavedFlag = false;
};

TEST_F(TextureTest, WithoutNonPowerOfTwoSupportTheStoredSizeIsPaddedAndTheImageSizeKept) {
  gTextureManager.SetNonPowerOfTwo(false);
  cTexture padded(1280, 720, 0, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_NEAREST, GL_REPEAT, 1);
  EXPECT_EQ(padded.GetWidth(), 2048);
  EXPECT_EQ(padded.GetHeight(), 1024);
  EXPECT_FLOAT_EQ(padded.GetUScale(), 0.625f);
  EXPECT_FLOAT_EQ(padded.GetVScale(), 0.703125f);
  EXPECT_EQ(padded.GetImageWidth(), 1280);
  EXPECT_EQ(padded.GetImageHeight(), 720);

  cTexture exact(512, 256, 0, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_NEAREST, GL_REPEAT, 1);
  EXPECT_EQ(exact.GetWidth(), 512);
  EXPECT_EQ(exact.GetHeight(), 256);
  EXPECT_FLOAT_EQ(exact.GetUScale(), 1.0f);
}

TEST_F(TextureTest, WithNonPowerOfTwoSupportTheSizeStaysAndScalesAreOne) {
  gTextureManager.SetNonPowerOfTwo(true);
  cTexture texture(1280, 720, 1, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_NEAREST, GL_REPEAT, 1);
  EXPECT_EQ(texture.GetWidth(), 1280);
  EXPECT_EQ(texture.GetHeight(), 720);
  EXPECT_FLOAT_EQ(texture.GetUScale(), 1.0f);
  EXPECT_FLOAT_EQ(texture.GetVScale(), 1.0f);
  EXPECT_EQ(texture.getDataSize(), 1280u * 720u * 4u);
  EXPECT_EQ(texture.GetBitsPerPixel(), 32);
}

TEST_F(TextureTest, CpuCopySizeFollowsTheFormatAndIsZeroFilled) {
  gTextureManager.SetNonPowerOfTwo(true);
  cTexture byDefault;
  EXPECT_EQ(byDefault.GetWidth(), 16);
  EXPECT_EQ(byDefault.getDataSize(), 16u * 16u * 4u);
  EXPECT_EQ(byDefault.GetFilter(), static_cast<GLenum>(GL_LINEAR));
  ASSERT_NE(byDefault.getData(), nullptr);
  for (uint32_t i = 0; i < byDefault.getDataSize(); ++i) ASSERT_EQ(byDefault.getData()[i], 0) << i;

  cTexture rgb(10, 3, 1, GL_RGB8, GL_RGB, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_NEAREST, GL_REPEAT, 1);
  EXPECT_EQ(rgb.getDataSize(), 90u);
  EXPECT_EQ(rgb.GetBitsPerPixel(), 0);

  cTexture floating(8, 8, 1, GL_RGBA16F_ARB, GL_RGBA, GL_FLOAT, GL_TEXTURE_2D, GL_NEAREST, GL_REPEAT, 1);
  EXPECT_EQ(floating.getDataSize(), 0u);
  EXPECT_EQ(floating.getData(), nullptr);
  floating.upload();  // an image without data: GL must not read from a copy that is not there
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureTest, Dxt1CubeMapCopyCountsAtLeastOneBlockPerLevelAndUploadsLevelZeroOfEachFace) {
  ASSERT_TRUE(GLEW_EXT_texture_compression_s3tc);
  cTexture cube(256, 256, 1, GL_COMPRESSED_RGB_S3TC_DXT1_EXT, 0, 0, GL_TEXTURE_CUBE_MAP, GL_LINEAR,
                GL_CLAMP_TO_EDGE, 9);
  EXPECT_EQ(cube.getDataSize(), 262224u);
  cube.upload();
  glBindTexture(GL_TEXTURE_CUBE_MAP, gTextureManager.lookupName(&cube));
  for (int face = 0; face < 6; ++face) {
    GLint size = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_TEXTURE_COMPRESSED_IMAGE_SIZE, &size);
    EXPECT_EQ(size, 32768) << "face " << face;
  }
  glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
}

TEST_F(TextureTest, NameTableGivesZeroBeforeUploadTheNameAfterAndForgetsDestroyedTextures) {
  auto* texture = new cTexture(4, 4, 1, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_NEAREST, GL_REPEAT, 1);
  EXPECT_NE(texture->GetGLName(), 0u);
  EXPECT_EQ(gTextureManager.lookupName(texture), 0u);
  texture->upload();
  EXPECT_EQ(gTextureManager.lookupName(texture), texture->GetGLName());

  const cTexture* address = texture;
  delete texture;
  EXPECT_EQ(gTextureManager.lookupName(address), 0u) << "a later texture at this address must not bind a freed name";
}

TEST_F(TextureTest, UploadedPixelsArriveInRowOrder) {
  gTextureManager.SetNonPowerOfTwo(false);
  cTexture texture(2, 2, 1, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_NEAREST, GL_REPEAT, 1);
  SetPixel(texture, 0, 0, 10, 20, 30, 40);
  SetPixel(texture, 1, 1, 50, 60, 70, 80);
  texture.upload();
  std::vector<uint8_t> back(16);
  glBindTexture(GL_TEXTURE_2D, gTextureManager.lookupName(&texture));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, back.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  EXPECT_EQ(back[0], 10);
  EXPECT_EQ(back[3], 40);
  EXPECT_EQ(back[12], 50);
  EXPECT_EQ(back[15], 80);
}

TEST_F(TextureTest, WriteToFilePutsTheLastRowOnTopAndCarriesTheDescription) {
  cTexture texture(2, 2, 1, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_NEAREST, GL_REPEAT, 1);
  SetPixel(texture, 0, 0, 255, 0, 0, 255);
  SetPixel(texture, 1, 0, 255, 0, 0, 128);
  SetPixel(texture, 0, 1, 0, 0, 255, 255);
  SetPixel(texture, 1, 1, 0, 0, 255, 7);
  DecodedPng png = WriteAndRead(texture, "rows");
  ASSERT_TRUE(png.ok);
  ASSERT_EQ(png.width, 2);
  ASSERT_EQ(png.height, 2);
  EXPECT_EQ(png.Pixel(0, 0)[2], 255) << "blue (texture row 1) on top";
  EXPECT_EQ(png.Pixel(0, 0)[0], 0);
  EXPECT_EQ(png.Pixel(1, 0)[3], 7) << "alpha is written as stored";
  EXPECT_EQ(png.Pixel(0, 1)[0], 255) << "red (texture row 0) at the bottom";
  EXPECT_EQ(png.Pixel(1, 1)[3], 128);
  EXPECT_EQ(png.text["Description"], "cTexture::writeToFile()");
}

TEST_F(TextureTest, WriteToFileOfAPaddedTextureWritesTheImagePartAtTheStoredPitch) {
  gTextureManager.SetNonPowerOfTwo(false);
  cTexture texture(3, 3, 1, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_NEAREST, GL_REPEAT, 1);
  ASSERT_EQ(texture.GetWidth(), 4);
  SetPixel(texture, 2, 2, 9, 8, 7, 6);
  SetPixel(texture, 3, 2, 99, 99, 99, 99);  // padding column: not part of the picture
  SetPixel(texture, 0, 0, 1, 2, 3, 4);
  DecodedPng png = WriteAndRead(texture, "padded");
  ASSERT_TRUE(png.ok);
  ASSERT_EQ(png.width, 3);
  ASSERT_EQ(png.height, 3);
  EXPECT_EQ(png.Pixel(2, 0)[0], 9);
  EXPECT_EQ(png.Pixel(2, 0)[3], 6);
  EXPECT_EQ(png.Pixel(0, 2)[2], 3);
}

TEST_F(TextureTest, WriteToFileRefusesTexturesWithoutACopyOrInAnotherFormat) {
  std::string path = TempPng("refused");
  std::remove(path.c_str());
  cTexture noCopy(2, 2, 0, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_NEAREST, GL_REPEAT, 1);
  EXPECT_FALSE(noCopy.writeToFile(path.c_str()));
  cTexture rgb(2, 2, 1, GL_RGB8, GL_RGB, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_NEAREST, GL_REPEAT, 1);
  EXPECT_FALSE(rgb.writeToFile(path.c_str()));
  EXPECT_NE(access(path.c_str(), F_OK), 0) << "nothing may be written";

  cTexture fine(2, 2, 1, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_NEAREST, GL_REPEAT, 1);
  EXPECT_FALSE(fine.writeToFile("/nonexistent-folder/x.png"));
}

TEST_F(TextureTest, TheRuntimeClassCreatesTheDefaultTexture) {
  const CoreRuntimeClass* record = FindRuntimeClass("cTexture");
  ASSERT_NE(record, nullptr);
  CoreObject* object = record->CreateObject();
  ASSERT_TRUE(object->IsKindOf("cTexture"));
  auto* texture = static_cast<cTexture*>(object);
  EXPECT_EQ(texture->GetImageWidth(), 16);
  EXPECT_EQ(texture->GetInternalFormat(), static_cast<GLenum>(GL_RGBA8));
  EXPECT_NE(texture->GetGLName(), 0u);
  delete object;
}

TEST(TextureSizes, Dxt1ImagesTakeWholeBlocksAndPowersOfTwoRoundUp) {
  EXPECT_EQ(Dxt1ImageSize(256, 256), 32768u);
  EXPECT_EQ(Dxt1ImageSize(1, 1), 8u);
  EXPECT_EQ(Dxt1ImageSize(5, 4), 16u);
  EXPECT_EQ(NextPowerOfTwo(1280), 2048);
  EXPECT_EQ(NextPowerOfTwo(512), 512);
  EXPECT_EQ(NextPowerOfTwo(0), 1);
  EXPECT_EQ(NextPowerOfTwo(3), 4);
}

}  // namespace
