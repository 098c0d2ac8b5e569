#include "platform/display.h"

#include <SDL2/SDL.h>

#include "platform/window.h"

namespace platform {

namespace {

constexpr int PRIMARY_DISPLAY = 0;

SDL_Window* Native(Window* window) { return static_cast<SDL_Window*>(NativeWindow(window)); }

}  // namespace

bool EnumDisplayMode(int index, DisplayMode* mode) {
  SDL_DisplayMode sdl;
  if (index < 0 || SDL_GetDisplayMode(PRIMARY_DISPLAY, index, &sdl) != 0) return false;
  mode->width = sdl.w;
  mode->height = sdl.h;
  mode->bitsPerPixel = SDL_BYTESPERPIXEL(sdl.format) * 8;
  mode->refreshRate = sdl.refresh_rate;
  return true;
}

bool DesktopSize(int* width, int* height) {
  SDL_DisplayMode sdl;
  if (SDL_GetDesktopDisplayMode(PRIMARY_DISPLAY, &sdl) != 0) return false;
  *width = sdl.w;
  *height = sdl.h;
  return true;
}

bool EnterFullScreen(Window* window) {
  int width = 0;
  int height = 0;
  GetWindowClientSize(window, &width, &height);
  SDL_DisplayMode wanted{};
  wanted.w = width;
  wanted.h = height;
  SDL_DisplayMode closest;
  if (!SDL_GetClosestDisplayMode(PRIMARY_DISPLAY, &wanted, &closest)) return false;
  if (closest.w != width || closest.h != height) return false;
  if (SDL_SetWindowDisplayMode(Native(window), &closest) != 0) return false;
  return SDL_SetWindowFullscreen(Native(window), SDL_WINDOW_FULLSCREEN) == 0;
}

bool LeaveFullScreen(Window* window) { return SDL_SetWindowFullscreen(Native(window), 0) == 0; }

bool GetGammaRamp(Window* window, GammaRamp* ramp) {
  return SDL_GetWindowGammaRamp(Native(window), ramp->red, ramp->green, ramp->blue) == 0;
}

bool SetGammaRamp(Window* window, const GammaRamp& ramp) {
  return SDL_SetWindowGammaRamp(Native(window), ramp.red, ramp.green, ramp.blue) == 0;
}

}  // namespace platform
