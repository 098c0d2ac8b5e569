#include "platform/hidden_gl_context.h"

#include <GL/glew.h>
#include <SDL2/SDL.h>

#include "platform/gl_driver_pin.h"
#include "platform/library_noise.h"

namespace platform {

HiddenGLContext::~HiddenGLContext() { Destroy(); }

bool HiddenGLContext::Create(int width, int height) {
  Destroy();
  bool started = false;
  WithLibraryNoiseSetAside([&] { started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0; });
  if (!started) {
    mError = std::string("video: ") + SDL_GetError();
    return false;
  }
  mOwnsVideo = true;
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_Window* window = SDL_CreateWindow("torvane", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                                        SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!window) {
    mError = std::string("window: ") + SDL_GetError();
    Destroy();
    return false;
  }
  mWindow = window;
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) {
    mError = std::string("context: ") + SDL_GetError();
    Destroy();
    return false;
  }
  mContext = context;
  PinGLDriver();
  glewExperimental = GL_TRUE;
  // GLEW loads the GL entry points before it looks for the current GLX display, which it now and
  // then misses on a context SDL has just made current; that last check alone is no failure.
  GLenum glew = glewInit();
  if (glew != GLEW_OK && glew != GLEW_ERROR_NO_GLX_DISPLAY) {
    mError = "glewInit failed";
    Destroy();
    return false;
  }
  return true;
}

void HiddenGLContext::Destroy() {
  if (mContext) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(mContext));
  if (mWindow) SDL_DestroyWindow(static_cast<SDL_Window*>(mWindow));
  if (mOwnsVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  mContext = nullptr;
  mWindow = nullptr;
  mOwnsVideo = false;
}

void HiddenGLContext::SwapBuffers() {
  if (mWindow) SDL_GL_SwapWindow(static_cast<SDL_Window*>(mWindow));
}

}  // namespace platform
