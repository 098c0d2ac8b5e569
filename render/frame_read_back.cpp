#include "render/frame_read_back.h"

#include <algorithm>
#include <cstring>

#include "render/drawing_path.h"

namespace {

constexpr int MIN_DEPTH = 2;

bool PixelBuffersAvailable() {
#ifdef TORVANE_WEBGL
  return true;
#else
  return render::OnWebGl2Path() || GLEW_VERSION_2_1 || GLEW_ARB_pixel_buffer_object;
#endif
}

// Copies the bound pixel pack buffer into pixels: WebGL 2 cannot map a buffer for reading, the
// OpenGL 2.1 path maps it.
bool ReadBoundPixelBuffer(std::vector<uint8_t>& pixels) {
  if (render::OnWebGl2Path()) {
    glGetBufferSubData(GL_PIXEL_PACK_BUFFER, 0, static_cast<GLsizeiptr>(pixels.size()), pixels.data());
    return true;
  }
#ifndef TORVANE_WEBGL
  const void* mapped = glMapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY);
  if (!mapped) return false;
  std::memcpy(pixels.data(), mapped, pixels.size());
  glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
  return true;
#endif
}

}  // namespace

FrameReadBack::~FrameReadBack() { Destroy(); }

void FrameReadBack::Create(int width, int height, int depth) {
  Destroy();
  mWidth = width;
  mHeight = height;
  depth = std::max(depth, MIN_DEPTH);
  mSlots.resize(static_cast<size_t>(depth));
  if (!PixelBuffersAvailable()) return;
  mBuffers.resize(mSlots.size());
  glGenBuffers(depth, mBuffers.data());
  for (GLuint buffer : mBuffers) {
    glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
    glBufferData(GL_PIXEL_PACK_BUFFER, static_cast<GLsizeiptr>(FrameBytes()), nullptr, GL_STREAM_READ);
  }
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}

void FrameReadBack::Destroy() {
  if (!mBuffers.empty()) glDeleteBuffers(static_cast<GLsizei>(mBuffers.size()), mBuffers.data());
  mBuffers.clear();
  mSlots.clear();
  mFirst = 0;
  mCount = 0;
}

bool FrameReadBack::Queue() {
  if (mSlots.empty() || mCount == Depth()) return false;
  int slot = (mFirst + mCount) % Depth();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  if (UsesPixelBuffers()) {
    glBindBuffer(GL_PIXEL_PACK_BUFFER, mBuffers[slot]);
    glReadPixels(0, 0, mWidth, mHeight, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  } else {
    mSlots[slot].resize(FrameBytes());
    glReadPixels(0, 0, mWidth, mHeight, GL_RGBA, GL_UNSIGNED_BYTE, mSlots[slot].data());
  }
  ++mCount;
  return true;
}

bool FrameReadBack::Collect(std::vector<uint8_t>& pixels) {
  if (mCount == 0) return false;
  int slot = mFirst;
  mFirst = (mFirst + 1) % Depth();
  --mCount;
  pixels.resize(FrameBytes());
  if (!UsesPixelBuffers()) {
    std::memcpy(pixels.data(), mSlots[slot].data(), pixels.size());
    return true;
  }
  glBindBuffer(GL_PIXEL_PACK_BUFFER, mBuffers[slot]);
  const bool read = ReadBoundPixelBuffer(pixels);
  glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
  return read;
}
