#include "platform/window.h"

#include <string>

#include <SDL2/SDL.h>

#include "platform/events.h"
#include "platform/library_noise.h"

namespace platform {

struct Window {
  SDL_Window* sdl = nullptr;
  WindowProcedure procedure = DefaultWindowProcedure;
  bool dragging = false;
  int dragOffsetX = 0;  // pointer position inside the window when the drag began
  int dragOffsetY = 0;
};

namespace {

constexpr char WINDOW_DATA_KEY[] = "torvane.window";

std::string gLastError;

void RequestPixelFormat() {
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

}  // namespace

const char* LastWindowError() { return gLastError.c_str(); }

bool StartVideo() {
  bool started = false;
  WithLibraryNoiseSetAside([&] { started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0; });
  if (started) return true;
  gLastError = SDL_GetError();
  return false;
}

void StopVideo() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

Window* CreateWindow(const char* title, uint32_t style, int x, int y, int width, int height) {
  RequestPixelFormat();
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
  if (style & WINDOW_STYLE_POPUP) flags |= SDL_WINDOW_BORDERLESS;
  if (style & WINDOW_STYLE_RESIZABLE) flags |= SDL_WINDOW_RESIZABLE;
  SDL_Window* sdl = SDL_CreateWindow(title ? title : "", x, y, width, height, flags);
  if (!sdl) {
    gLastError = SDL_GetError();
    return nullptr;
  }
  auto* window = new Window;
  window->sdl = sdl;
  SDL_SetWindowData(sdl, WINDOW_DATA_KEY, window);
  return window;
}

void DestroyWindow(Window* window) {
  if (!window) return;
  if (window->dragging) SDL_CaptureMouse(SDL_FALSE);
  SDL_DestroyWindow(window->sdl);
  delete window;
}

void ShowWindow(Window* window) { SDL_ShowWindow(window->sdl); }

void HideWindow(Window* window) { SDL_HideWindow(window->sdl); }

bool IsWindowShown(Window* window) { return (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_SHOWN) != 0; }

void SetWindowPosition(Window* window, int x, int y) { SDL_SetWindowPosition(window->sdl, x, y); }

void GetWindowPosition(Window* window, int* x, int* y) { SDL_GetWindowPosition(window->sdl, x, y); }

void GetWindowClientSize(Window* window, int* width, int* height) { SDL_GetWindowSize(window->sdl, width, height); }

void SetWindowTopmost(Window* window, bool topmost) {
  SDL_SetWindowAlwaysOnTop(window->sdl, topmost ? SDL_TRUE : SDL_FALSE);
}

void ShowMouseCursor(bool shown) { SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE); }

WindowProcedure SetWindowProcedure(Window* window, WindowProcedure procedure) {
  WindowProcedure previous = window->procedure;
  window->procedure = procedure ? procedure : DefaultWindowProcedure;
  return previous;
}

intptr_t DefaultWindowProcedure(Window*, const Event&) { return 0; }

Window* FindWindow(uint32_t windowId) {
  SDL_Window* sdl = SDL_GetWindowFromID(windowId);
  return sdl ? static_cast<Window*>(SDL_GetWindowData(sdl, WINDOW_DATA_KEY)) : nullptr;
}

void* NativeWindow(Window* window) { return window ? window->sdl : nullptr; }

intptr_t CallWindowProcedure(Window* window, const Event& event) { return window->procedure(window, event); }

void BeginWindowDrag(Window* window, int pressX, int pressY) {
  // The press's own place in the window, not the pointer's now: when the loop is slow to take
  // the press, the pointer may already have moved on.
  window->dragOffsetX = pressX;
  window->dragOffsetY = pressY;
  window->dragging = true;
  SDL_CaptureMouse(SDL_TRUE);
}

bool IsWindowDragging(Window* window) { return window->dragging; }

void FollowWindowDrag(Window* window, bool buttonReleased) {
  if (!window->dragging) return;
  int mouseX = 0;
  int mouseY = 0;
  SDL_GetGlobalMouseState(&mouseX, &mouseY);
  SDL_SetWindowPosition(window->sdl, mouseX - window->dragOffsetX, mouseY - window->dragOffsetY);
  if (buttonReleased) {
    window->dragging = false;
    SDL_CaptureMouse(SDL_FALSE);
  }
}

}  // namespace platform
