#include "render/texture.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "render/texture_manager.h"
#include "render/texture_png_writer.h"

CORE_IMPLEMENT_DYNAMIC(cTexture, CoreObject)

namespace {

constexpr int CUBE_FACES = 6;
constexpr char WRITE_DESCRIPTION[] = "cTexture::writeToFile()";

uint32_t Dxt1CubeSize(int width, int height, uint32_t levels) {
  uint64_t total = 0;
  for (int face = 0; face < CUBE_FACES; ++face) {
    int w = width;
    int h = height;
    for (uint32_t level = 0; level < levels; ++level) {
      total += Dxt1ImageSize(w, h);
      w = w > 1 ? w / 2 : 1;
      h = h > 1 ? h / 2 : 1;
    }
  }
  return total > UINT32_MAX ? 0 : static_cast<uint32_t>(total);
}

// Byte counts above 4 GiB cannot be held; they give no CPU copy rather than a wrapped size.
uint32_t BoundedImageSize(int width, int height, int bytesPerPixel) {
  if (width <= 0 || height <= 0) return 0;
  uint64_t size = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * static_cast<uint64_t>(bytesPerPixel);
  return size > UINT32_MAX ? 0 : static_cast<uint32_t>(size);
}

bool WriteWholeFile(const char* fileName, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(fileName, "wb");
  if (!file) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

uint32_t Dxt1ImageSize(int width, int height) {
  uint32_t blocksAcross = (static_cast<uint32_t>(width) + 3) / 4;
  uint32_t blocksDown = (static_cast<uint32_t>(height) + 3) / 4;
  return blocksAcross * blocksDown * 8;
}

int NextPowerOfTwo(int value) {
  int power = 1;
  while (power < value && power < (1 << 30)) power <<= 1;
  return power;
}

cTexture::cTexture() { create(16, 16, 1, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_LINEAR, GL_REPEAT, 1); }

cTexture::cTexture(int width, int height, int keepData, GLenum internalFormat, GLenum format, GLenum type,
                   GLenum target, GLenum filter, GLenum wrap, uint32_t levels) {
  create(width, height, keepData, internalFormat, format, type, target, filter, wrap, levels);
}

cTexture::~cTexture() {
  FreeData();
  if (mName) glDeleteTextures(1, &mName);
  gTextureManager.ForgetName(this);
}

void cTexture::create(int width, int height, int keepData, GLenum internalFormat, GLenum format, GLenum type,
                      GLenum target, GLenum filter, GLenum wrap, uint32_t levels) {
  if (!gTextureManager.IsNonPowerOfTwo()) {
    int paddedWidth = NextPowerOfTwo(width);
    int paddedHeight = NextPowerOfTwo(height);
    mUScale = static_cast<float>(width) / static_cast<float>(paddedWidth);
    mVScale = static_cast<float>(height) / static_cast<float>(paddedHeight);
    width = paddedWidth;
    height = paddedHeight;
  }
  mWidth = width;
  mHeight = height;
  mKeepData = keepData;
  mInternalFormat = internalFormat;
  mFormat = format;
  mType = type;
  mTarget = target;
  mFilter = filter;
  mWrap = wrap;
  mLevels = levels;
  mBitsPerPixel = 0;
  mDataSize = 0;
  FreeData();
  if (mKeepData == 1) SizeCpuCopy();
  ReplaceGLName();
}

void cTexture::SizeCpuCopy() {
  if (mTarget == GL_TEXTURE_2D && mInternalFormat == GL_RGBA8) {
    mBitsPerPixel = 32;
    mDataSize = BoundedImageSize(mWidth, mHeight, 4);
  } else if (mTarget == GL_TEXTURE_2D && mInternalFormat == GL_RGB8) {
    mDataSize = BoundedImageSize(mWidth, mHeight, 3);
  } else if (mTarget == GL_TEXTURE_CUBE_MAP && mInternalFormat == GL_COMPRESSED_RGB_S3TC_DXT1_EXT) {
    mDataSize = mWidth > 0 && mHeight > 0 ? Dxt1CubeSize(mWidth, mHeight, mLevels) : 0;
  }
  if (mDataSize > 0) mData = new uint8_t[mDataSize]();
}

void cTexture::ReplaceGLName() {
  if (mName) {
    glDeleteTextures(1, &mName);
    gTextureManager.ForgetName(this);
  }
  glGenTextures(1, &mName);
  gTextureManager.RegisterCreatedName(mName);
}

void cTexture::FreeData() {
  delete[] mData;
  mData = nullptr;
}

void cTexture::upload() {
  gTextureManager.upload(this, mName, mTarget, mInternalFormat, mFormat, mType, mLevels, mWrap, mFilter);
}

bool cTexture::writeToFile(const char* fileName) const {
  if (!mData || mInternalFormat != GL_RGBA8 || !fileName) return false;
  int width = GetImageWidth();
  int height = GetImageHeight();
  if (width <= 0 || height <= 0) return false;
  size_t rowBytes = static_cast<size_t>(width) * 4;
  size_t pitch = static_cast<size_t>(mWidth) * 4;
  std::vector<uint8_t> topDown(rowBytes * static_cast<size_t>(height));
  for (int row = 0; row < height; ++row) {
    const uint8_t* source = mData + static_cast<size_t>(height - 1 - row) * pitch;
    std::memcpy(topDown.data() + static_cast<size_t>(row) * rowBytes, source, rowBytes);
  }
  std::vector<uint8_t> png = EncodeRgbaPng(topDown.data(), width, height, WRITE_DESCRIPTION);
  return !png.empty() && WriteWholeFile(fileName, png);
}
