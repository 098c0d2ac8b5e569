#pragma once
// The primary display: its modes, the desktop size, full-screen mode switches for a window, and
// the gamma ramp.

#include <cstdint>

namespace platform {

struct Window;

struct DisplayMode {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;  // 8 × bytes per pixel: 32 for the usual 4-byte modes
  int refreshRate = 0;
};

constexpr int GAMMA_RAMP_SIZE = 256;

struct GammaRamp {
  uint16_t red[GAMMA_RAMP_SIZE];
  uint16_t green[GAMMA_RAMP_SIZE];
  uint16_t blue[GAMMA_RAMP_SIZE];
};

// The mode of the primary display at index (0, 1, ...); false past the last one.
bool EnumDisplayMode(int index, DisplayMode* mode);
// The primary display's current desktop size; false when it cannot be read.
bool DesktopSize(int* width, int* height);

// Switches the display to a mode of exactly the window's client size and makes the window cover
// it. False when no such mode exists or the switch fails (the window then stays as it was).
bool EnterFullScreen(Window* window);
// Returns the display to the desktop mode and the window to a normal window.
bool LeaveFullScreen(Window* window);

// False where the display cannot report or set its ramp.
bool GetGammaRamp(Window* window, GammaRamp* ramp);
bool SetGammaRamp(Window* window, const GammaRamp& ramp);

}  // namespace platform
