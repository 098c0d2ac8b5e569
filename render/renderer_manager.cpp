#include "render/renderer_manager.h"

#include <GL/glew.h>

#include <vector>

#include "core/critical.h"
#include "platform/gl_context.h"
#include "render/drawing_path.h"
#include "render/framebuffer_object.h"
#include "render/immediate_draw.h"
#include "render/immediate_draw_paths.h"
#include "render/intermediate_command.h"
#include "render/texture.h"
#include "window/window_gl.h"

CORE_IMPLEMENT_MANAGER(rendererManager)

namespace {

constexpr GLfloat START_ALPHA_REFERENCE = 0.000001f;

// Copies bottom-up RGBA rows into the texture's copy at its stored pitch, alpha made opaque.
void CopyOpaque(const std::vector<uint8_t>& pixels, int width, int height, cTexture& texture) {
  size_t sourcePitch = static_cast<size_t>(width) * 4;
  size_t destinationPitch = static_cast<size_t>(texture.GetWidth()) * 4;
  uint8_t* destination = texture.getData();
  for (int y = 0; y < height; ++y) {
    const uint8_t* from = pixels.data() + static_cast<size_t>(y) * sourcePitch;
    uint8_t* to = destination + static_cast<size_t>(y) * destinationPitch;
    for (int x = 0; x < width; ++x) {
      to[x * 4 + 0] = from[x * 4 + 0];
      to[x * 4 + 1] = from[x * 4 + 1];
      to[x * 4 + 2] = from[x * 4 + 2];
      to[x * 4 + 3] = 255;
    }
  }
}

}  // namespace

bool rendererManager::CheckOpenGL() {
  auto* probe = new CWindowGL;
  if (probe->Create("", 0, 0, 0, 1, 1) && probe->CreateContext()) probe->MakeCurrent();
  // Not experimental: that mode reports a version as present whenever its entry points
  // resolve, which would let a driver below OpenGL 2.0 through.
  glewInit();
  delete probe;
  if (!GLEW_VERSION_2_0) CoreFatal(FATAL_NO_OPENGL_2);
  return true;
}

bool rendererManager::Initialize() {
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glFrontFace(GL_CCW);
  glCullFace(GL_BACK);
  glEnable(GL_CULL_FACE);
  SetTexturing(false);
  // The WebGL 2 path has neither texture coordinate generation nor lighting to turn off.
  TORVANE_FIXED_FUNCTION_ONLY(SetUnlitState());
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  SetAlphaTest(true, GL_GREATER, START_ALPHA_REFERENCE);
  return true;
}

bool rendererManager::Terminate() {
  if (render::OnWebGl2Path()) webgl::ReleaseDrawingResources();
  return true;
}

bool rendererManager::FrameUpdate() {
  gIntermediateCommand.replay();
  gIntermediateCommand.reset();
  return true;
}

bool rendererManager::FrameEnd() {
  if (mPresenter) {
    mPresenter();
  } else {
    platform::SwapCurrentWindow();
  }
  return true;
}

void rendererManager::SetPresenter(FramePresenter presenter) { mPresenter = presenter; }

bool rendererManager::CaptureScreen(const char* fileName) {
  int width = mScreenWidth;
  int height = mScreenHeight;
  if (width == 0 || height == 0) return false;
  const bool framebufferObjects = render::FramebufferObjectsAvailable();
  unsigned savedFramebuffer = 0;
  if (framebufferObjects) {
    savedFramebuffer = render::BoundFramebufferObject();
    render::BindFramebufferObject(0);
  }
  GLint savedReadBuffer = GL_BACK;
  glGetIntegerv(GL_READ_BUFFER, &savedReadBuffer);
  glReadBuffer(mCaptureBuffer);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());

  cTexture texture(width, height, 1, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, GL_TEXTURE_2D, GL_NEAREST, GL_REPEAT, 1);
  bool written = false;
  if (texture.getData()) {
    CopyOpaque(pixels, width, height, texture);
    written = texture.writeToFile(fileName);
  }
  if (framebufferObjects) render::BindFramebufferObject(savedFramebuffer);
  glReadBuffer(static_cast<GLenum>(savedReadBuffer));
  return written;
}

const char* rendererManager::DriverRendererName() {
  const GLubyte* name = glGetString(GL_RENDERER);
  return name ? reinterpret_cast<const char*>(name) : "";
}
