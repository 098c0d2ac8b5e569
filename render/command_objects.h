#pragma once
// The render commands: small objects constructed in place in a command list and executed, in
// recording order, when the buffer is replayed. Each starts with its size (the distance to the
// next command, a multiple of 16) so that a list can be walked without knowing the types.

#include <GL/glew.h>

#include <cstdint>

struct RenderMaterial;

class alignas(16) cmdBase {
 public:
  virtual void execute() = 0;

  uint32_t mSize = 0;
  uint32_t mReserved = 0;

 protected:
  explicit cmdBase(uint32_t size) : mSize(size) {}
  // Commands are never destroyed one by one: the list is rewound as a whole.
  ~cmdBase() = default;
};

// The size of a command of type T in its list.
template <class T>
constexpr uint32_t CommandSize() {
  static_assert(sizeof(T) % 16 == 0, "commands take multiples of 16 bytes");
  return static_cast<uint32_t>(sizeof(T));
}

class cmdBeginDraw final : public cmdBase {
 public:
  cmdBeginDraw() : cmdBase(CommandSize<cmdBeginDraw>()) {}
  void execute() override {}
};

class cmdEndDraw final : public cmdBase {
 public:
  cmdEndDraw() : cmdBase(CommandSize<cmdEndDraw>()) {}
  void execute() override {}
};

class cmdPushMatrix final : public cmdBase {
 public:
  explicit cmdPushMatrix(GLenum mode) : cmdBase(CommandSize<cmdPushMatrix>()), mMode(mode) {}
  void execute() override;
  GLenum mMode;
};

class cmdPopMatrix final : public cmdBase {
 public:
  explicit cmdPopMatrix(GLenum mode) : cmdBase(CommandSize<cmdPopMatrix>()), mMode(mode) {}
  void execute() override;
  GLenum mMode;
};

class cmdLoadIdentity final : public cmdBase {
 public:
  explicit cmdLoadIdentity(GLenum mode) : cmdBase(CommandSize<cmdLoadIdentity>()), mMode(mode) {}
  void execute() override;
  GLenum mMode;
};

class cmdOrtho final : public cmdBase {
 public:
  cmdOrtho(float left, float right, float bottom, float top, float zNear, float zFar)
      : cmdBase(CommandSize<cmdOrtho>()), mLeft(left), mRight(right), mBottom(bottom), mTop(top), mNear(zNear),
        mFar(zFar) {}
  void execute() override;
  float mLeft, mRight, mBottom, mTop, mNear, mFar;
};

class cmdLookAt final : public cmdBase {
 public:
  cmdLookAt(float eyeX, float eyeY, float eyeZ, float centreX, float centreY, float centreZ, float upX, float upY,
            float upZ)
      : cmdBase(CommandSize<cmdLookAt>()), mEye{eyeX, eyeY, eyeZ}, mCentre{centreX, centreY, centreZ},
        mUp{upX, upY, upZ} {}
  void execute() override;
  float mEye[3];
  float mCentre[3];
  float mUp[3];
};

class cmdTranslate final : public cmdBase {
 public:
  cmdTranslate(float x, float y, float z) : cmdBase(CommandSize<cmdTranslate>()), mX(x), mY(y), mZ(z) {}
  void execute() override;
  float mX, mY, mZ;
};

// A quad from (0, 0) to (width, height) in the current model-view space, drawn with the current
// material (the default material when none was set).
class cmdDrawQuad final : public cmdBase {
 public:
  cmdDrawQuad(float width, float height) : cmdBase(CommandSize<cmdDrawQuad>()), mWidth(width), mHeight(height) {}
  void execute() override;
  float mWidth, mHeight;
};

class cmdChangeMaterial final : public cmdBase {
 public:
  explicit cmdChangeMaterial(RenderMaterial* material)
      : cmdBase(CommandSize<cmdChangeMaterial>()), mMaterial(material) {}
  void execute() override;
  RenderMaterial* mMaterial;
};
