#include "render/frame_output.h"

#include <algorithm>

#include "render/drawing_path.h"
#include "render/effect/es_fixed_state.h"
#include "render/frame_output_paths.h"
#include "render/framebuffer_object.h"
#include "render/immediate_draw.h"
#include "render/matrix_stack.h"
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

namespace webgl {

// The WebGL 2 path has no attribute stack: what the picture changes is put back one by one.
void PresentPicture(const render::PictureOnWindow& picture) {
  GLint program = 0;
  GLint viewport[4] = {};
  GLfloat clear[4] = {};
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  const bool blend = glIsEnabled(GL_BLEND);
  const bool depthTest = glIsEnabled(GL_DEPTH_TEST);
  const bool cullFace = glIsEnabled(GL_CULL_FACE);
  const render::EsFixedState saved = render::CurrentEsFixedState();
  glUseProgram(0);
  glViewport(0, 0, picture.windowWidth, picture.windowHeight);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glViewport(picture.x, picture.y, picture.width, picture.height);
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  render::EsFixedState& state = render::CurrentEsFixedState();
  state.alphaTest = false;
  state.texturing = render::EsTexturing::Replace;
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, picture.texture);
  PushIdentityMatrices();
  const float strip[4][5] = {{0.0f, 0.0f, -1.0f, -1.0f, 0.0f},
                             {picture.u, 0.0f, 1.0f, -1.0f, 0.0f},
                             {0.0f, picture.v, -1.0f, 1.0f, 0.0f},
                             {picture.u, picture.v, 1.0f, 1.0f, 0.0f}};
  DrawTexturedStrip(strip);
  PopMatricesToProjection();
  SelectMatrixStack(MatrixStack::Modelview);
  glBindTexture(GL_TEXTURE_2D, 0);
  state = saved;
  if (blend) glEnable(GL_BLEND);
  if (depthTest) glEnable(GL_DEPTH_TEST);
  if (cullFace) glEnable(GL_CULL_FACE);
  glClearColor(clear[0], clear[1], clear[2], clear[3]);
  glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
  glUseProgram(static_cast<GLuint>(program));
}

}  // namespace webgl

void FrameOutput::Present(int windowWidth, int windowHeight) {
  PresentInArea(windowWidth, windowHeight, {0, 0, windowWidth, windowHeight});
}

void FrameOutput::PresentInArea(int windowWidth, int windowHeight, const Placement& area) {
  if (!mBuffer || !mBuffer->GetColor()) return;
  Placement placement = PlacementInArea(area);
  render::BindFramebufferObject(0);
  // Texture scales cover buffers stored at powers of two.
  const render::PictureOnWindow picture{windowWidth,
                                        windowHeight,
                                        placement.x,
                                        windowHeight - placement.y - placement.height,
                                        placement.width,
                                        placement.height,
                                        gTextureManager.lookupName(mBuffer->GetColor()),
                                        mBuffer->GetColor()->GetUScale(),
                                        mBuffer->GetColor()->GetVScale()};
  TORVANE_ON_DRAWING_PATH(PresentPicture(picture));
}
