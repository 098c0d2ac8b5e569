#include "window/window.h"

#include <algorithm>
#include <cmath>

#include "core/alert.h"

namespace {

constexpr float GAMMA_MIN = 0.0f;
constexpr float GAMMA_MAX = 2.0f;

void ShowCreateError(const char* text) { RaiseAlert("window", {"Error", text, AlertIcon::Error}); }

}  // namespace

void BuildGammaRamp(float gamma, platform::GammaRamp* ramp) {
  float g = std::clamp(gamma, GAMMA_MIN, GAMMA_MAX);
  for (int i = 0; i < platform::GAMMA_RAMP_SIZE; ++i) {
    double v = (i + 1) / 256.0;
    double c = std::pow(v, 2.0 - g);
    double value = std::clamp(c * 65535.0 + 0.5, 0.0, 65535.0);
    auto entry = static_cast<uint16_t>(value);
    ramp->red[i] = entry;
    ramp->green[i] = entry;
    ramp->blue[i] = entry;
  }
}

CWindow::~CWindow() { DestroyWindow(); }

bool CWindow::Create(const char* title, uint32_t style, int x, int y, int width, int height) {
  DestroyWindow();
  if (!mVideoStarted && !platform::StartVideo()) {
    ShowCreateError(TEXT_REGISTER_CLASS_FAILED);
    return false;
  }
  mVideoStarted = true;
  mWindow = platform::CreateWindow(title, style, x, y, width, height);
  if (!mWindow) {
    ShowCreateError(TEXT_CREATE_WINDOW_FAILED);
    return false;
  }
  mGammaSaved = platform::GetGammaRamp(mWindow, &mSavedGamma);
  mWidth = static_cast<uint16_t>(width);
  mHeight = static_cast<uint16_t>(height);
  return true;
}

void CWindow::DestroyWindow() {
  if (mWindow) {
    // A ramp that could not be read is not written back: that would black out the display.
    if (mGammaSaved) platform::SetGammaRamp(mWindow, mSavedGamma);
    if (mFullScreen) platform::LeaveFullScreen(mWindow);
    platform::DestroyWindow(mWindow);
  }
  if (mVideoStarted) platform::StopVideo();
  mWindow = nullptr;
  mVideoStarted = false;
  mFullScreen = false;
  mGammaSaved = false;
}

bool CWindow::FullScreenOn() {
  if (mFullScreen || !mWindow) return false;
  platform::GetWindowPosition(mWindow, &mSavedX, &mSavedY);
  platform::DesktopSize(&mSavedMode.width, &mSavedMode.height);
  platform::SetWindowTopmost(mWindow, true);
  platform::SetWindowPosition(mWindow, 0, 0);
  if (!platform::EnterFullScreen(mWindow)) return false;
  mFullScreen = true;
  return true;
}

bool CWindow::FullScreenOff() {
  if (!mFullScreen || !platform::LeaveFullScreen(mWindow)) return false;
  platform::SetWindowTopmost(mWindow, true);
  platform::SetWindowPosition(mWindow, mSavedX, mSavedY);
  mFullScreen = false;
  return true;
}

bool CWindow::SetGamma(float gamma) {
  if (!mFullScreen) return false;
  mGamma = std::clamp(gamma, GAMMA_MIN, GAMMA_MAX);
  platform::GammaRamp ramp;
  BuildGammaRamp(mGamma, &ramp);
  return platform::SetGammaRamp(mWindow, ramp);
}
