#include "platform/gl_context.h"

#include <SDL2/SDL.h>

#include "platform/gl_driver_pin.h"
#include "platform/window.h"

namespace platform {

GLContext* CreateGLContext(Window* window) {
  if (!window) return nullptr;
  SDL_GLContext context = SDL_GL_CreateContext(static_cast<SDL_Window*>(NativeWindow(window)));
  if (context) PinGLDriver();
  return static_cast<GLContext*>(context);
}

void DeleteGLContext(GLContext* context) {
  if (context) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
}

bool MakeCurrent(Window* window, GLContext* context) {
  return SDL_GL_MakeCurrent(static_cast<SDL_Window*>(NativeWindow(window)), static_cast<SDL_GLContext>(context)) == 0;
}

void MakeNoneCurrent() { SDL_GL_MakeCurrent(nullptr, nullptr); }

void SwapCurrentWindow() {
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  if (window) SDL_GL_SwapWindow(window);
}

bool SetSwapInterval(int interval) { return SDL_GL_SetSwapInterval(interval) == 0; }

}  // namespace platform
