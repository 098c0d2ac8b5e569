#include "render/frame_output.h"

#include <algorithm>

#include "render/framebuffer_object.h"
#include "render/pixel_readback.h"
#include "render/screen_buffer.h"
#include "render/screen_pass.h"
#include "render/texture.h"
#include "render/texture_manager.h"

FrameOutput::~FrameOutput() { Destroy(); }

void FrameOutput::Create(int width, int height) {
  Destroy();
  mWidth = width;
  mHeight = height;
  mBuffer = new cScreenBuffer(width, height, GL_RGBA8, GL_UNSIGNED_BYTE, SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
}

void FrameOutput::Destroy() {
  delete mBuffer;
  mBuffer = nullptr;
}

GLuint FrameOutput::Framebuffer() const { return mBuffer ? mBuffer->GetFramebuffer() : 0; }

void FrameOutput::Bind() {
  if (mBuffer) mBuffer->bind();
}

std::vector<uint8_t> FrameOutput::ReadPixels() {
  std::vector<uint8_t> pixels(static_cast<size_t>(mWidth) * mHeight * 4);
  if (!mBuffer) return pixels;
  Bind();
  pixels = ReadPixelsTopFirst(mWidth, mHeight);
  render::BindFramebufferObject(0);
  return pixels;
}

FrameOutput::Placement FrameOutput::PlacementIn(int windowWidth, int windowHeight) const {
  return PlacementInArea({0, 0, windowWidth, windowHeight});
}

FrameOutput::Placement FrameOutput::PlacementInArea(const Placement& area) const {
  Placement placement;
  if (mWidth <= 0 || mHeight <= 0 || area.width <= 0 || area.height <= 0) return placement;
  double scale = std::min(static_cast<double>(area.width) / mWidth, static_cast<double>(area.height) / mHeight);
  placement.width = std::max(1, static_cast<int>(mWidth * scale + 0.5));
  placement.height = std::max(1, static_cast<int>(mHeight * scale + 0.5));
  placement.x = area.x + (area.width - placement.width) / 2;
  placement.y = area.y + (area.height - placement.height) / 2;
  return placement;
}

void FrameOutput::Present(int windowWidth, int windowHeight) {
  PresentInArea(windowWidth, windowHeight, {0, 0, windowWidth, windowHeight});
}

void FrameOutput::PresentInArea(int windowWidth, int windowHeight, const Placement& area) {
  if (!mBuffer || !mBuffer->GetColor()) return;
  Placement placement = PlacementInArea(area);
  render::BindFramebufferObject(0);
  glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);
  GLint program = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  glUseProgram(0);
  glViewport(0, 0, windowWidth, windowHeight);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glViewport(placement.x, windowHeight - placement.y - placement.height, placement.width, placement.height);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, gTextureManager.lookupName(mBuffer->GetColor()));
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  PushIdentityMatrices();
  // Texture scales cover buffers stored at powers of two.
  float u = mBuffer->GetColor()->GetUScale();
  float v = mBuffer->GetColor()->GetVScale();
  glBegin(GL_TRIANGLE_STRIP);
  glTexCoord2f(0.0f, 0.0f);
  glVertex2f(-1.0f, -1.0f);
  glTexCoord2f(u, 0.0f);
  glVertex2f(1.0f, -1.0f);
  glTexCoord2f(0.0f, v);
  glVertex2f(-1.0f, 1.0f);
  glTexCoord2f(u, v);
  glVertex2f(1.0f, 1.0f);
  glEnd();
  PopMatricesToProjection();
  glMatrixMode(GL_MODELVIEW);
  glBindTexture(GL_TEXTURE_2D, 0);
  glUseProgram(static_cast<GLuint>(program));
  glPopAttrib();
}
