#pragma once
// CWindow: one top-level window with its full-screen display-mode switch and its gamma ramp.
// The desktop's mode and gamma ramp are put back when the window is destroyed.

#include <cstdint>

#include "platform/display.h"
#include "platform/window.h"

inline constexpr const char WINDOW_TITLE[] = "Torvane";
inline constexpr const char TEXT_REGISTER_CLASS_FAILED[] = "System failed CWindow::Create().\nRegisterClassEx();";
inline constexpr const char TEXT_CREATE_WINDOW_FAILED[] = "System failed CWindow::Create().\nCreateWindowEx();";

class CWindow {
 public:
  CWindow() = default;
  virtual ~CWindow();
  CWindow(const CWindow&) = delete;
  CWindow& operator=(const CWindow&) = delete;

  // Creates the hidden window with a client area of width × height at (x, y) and saves the
  // display's gamma ramp. On failure shows a box titled "Error" and returns false.
  virtual bool Create(const char* title, uint32_t style, int x, int y, int width, int height);

  // Switches the display to the window's size; false if already on or the switch fails.
  bool FullScreenOn();
  // Returns to the saved desktop mode and position; false if not in full screen or it fails.
  bool FullScreenOff();
  // Sets the display's gamma (clamped to [0, 2]) in full screen only; false in a window or
  // where the display has no ramp.
  bool SetGamma(float gamma);

  platform::Window* GetPlatformWindow() const { return mWindow; }
  uint16_t GetWidth() const { return mWidth; }
  uint16_t GetHeight() const { return mHeight; }
  bool IsFullScreen() const { return mFullScreen; }
  float GetGamma() const { return mGamma; }

 protected:
  void DestroyWindow();

  platform::Window* mWindow = nullptr;
  uint16_t mWidth = 0;
  uint16_t mHeight = 0;
  bool mFullScreen = false;
  platform::DisplayMode mSavedMode;
  int mSavedX = 0;
  int mSavedY = 0;
  bool mVideoStarted = false;
  bool mGammaSaved = false;
  platform::GammaRamp mSavedGamma = {};
  float mGamma = 0.0f;
};

// The ramp of gamma g: entry i is ((i + 1) / 256) ^ (2 - g) scaled to 0..65535, the same for red,
// green and blue; g is clamped to [0, 2].
void BuildGammaRamp(float gamma, platform::GammaRamp* ramp);
