#pragma once
// cTexture: one OpenGL texture with the parameters it was created with and, while it is being
// filled, a CPU copy of its pixels.
//
// Use:
//   cTexture* t = new cTexture(w, h, 1, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, GL_TEXTURE_2D,
//                              GL_LINEAR, GL_REPEAT, 1);
//   fill t->getData() (getDataSize() bytes; rows GetWidth() pixels apart, row 0 at the bottom)
//   t->upload();            // glTexImage2D through the texture manager
//   t->FreeData();          // loaders drop the CPU copy once uploaded
//   glBindTexture(t->GetTarget(), gTextureManager.lookupName(t));
//
// Without non-power-of-two support the stored size is rounded up to powers of two and the image
// fills GetUScale() × GetVScale() of it. Creating a texture needs a current GL context.

#include <GL/glew.h>

#include <cstdint>

#include "core/runtime_class.h"

class cTexture : public CoreObject {
  CORE_DECLARE_DYNAMIC(cTexture)
  // A 16 × 16 GL_RGBA8 texture with a CPU copy, linear filter, repeat wrap.
  cTexture();
  cTexture(int width, int height, int keepData, GLenum internalFormat, GLenum format, GLenum type, GLenum target,
           GLenum filter, GLenum wrap, uint32_t levels);
  ~cTexture() override;
  cTexture(const cTexture&) = delete;
  cTexture& operator=(const cTexture&) = delete;

  // (Re)defines the texture: stored size, CPU copy (zero-filled when keepData is 1) and a new GL
  // name. Nothing is uploaded until upload().
  virtual void create(int width, int height, int keepData, GLenum internalFormat, GLenum format, GLenum type,
                      GLenum target, GLenum filter, GLenum wrap, uint32_t levels);

  // Sends the CPU copy (or, without one, an uninitialised image) to GL and registers the name.
  void upload();

  // Writes the image part of a GL_RGBA8 CPU copy to a PNG file, top row first, with the text
  // chunk "Description". False (and nothing written) without a copy, for another format, or
  // when the file cannot be written.
  bool writeToFile(const char* fileName) const;

  // Frees the CPU copy; the GL texture stays.
  void FreeData();

  int GetWidth() const { return mWidth; }
  int GetHeight() const { return mHeight; }
  uint32_t getDataSize() const { return mDataSize; }
  float GetUScale() const { return mUScale; }
  float GetVScale() const { return mVScale; }
  // The size of the picture inside the stored (possibly padded) size.
  int GetImageWidth() const { return static_cast<int>(static_cast<float>(mWidth) * mUScale); }
  int GetImageHeight() const { return static_cast<int>(static_cast<float>(mHeight) * mVScale); }
  uint8_t* getData() { return mData; }
  const uint8_t* getData() const { return mData; }
  GLuint GetGLName() const { return mName; }
  GLenum GetTarget() const { return mTarget; }
  GLenum GetInternalFormat() const { return mInternalFormat; }
  GLenum GetFormat() const { return mFormat; }
  GLenum GetType() const { return mType; }
  GLenum GetFilter() const { return mFilter; }
  GLenum GetWrap() const { return mWrap; }
  uint32_t getLevels() const { return mLevels; }
  int GetBitsPerPixel() const { return mBitsPerPixel; }

 private:
  void SizeCpuCopy();
  void ReplaceGLName();

  int mKeepData = 0;
  GLenum mTarget = 0;
  GLenum mInternalFormat = 0;
  GLenum mFormat = 0;
  GLenum mType = 0;
  GLenum mFilter = 0;
  GLenum mWrap = 0;
  uint32_t mLevels = 0;
  uint32_t mDataSize = 0;
  int mWidth = 0;
  int mHeight = 0;
  int mBitsPerPixel = 0;
  float mUScale = 1.0f;
  float mVScale = 1.0f;
  uint8_t* mData = nullptr;
  GLuint mName = 0;
};

// Bytes of one DXT1-compressed image of w × h: 8 bytes per 4 × 4 block, at least one block.
uint32_t Dxt1ImageSize(int width, int height);

// The smallest power of two not below value (value itself when it is one); 1 for value <= 1.
int NextPowerOfTwo(int value);
