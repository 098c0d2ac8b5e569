#pragma once
// The choices of the launcher: filled once when Run is pressed and read by the window, the
// timeline and frame composition. Nothing is saved between runs.

#include <cstdint>
#include <vector>

struct Resolution {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const Resolution&) const = default;
};

struct SettingsRecord {
  std::vector<Resolution> mResolutions;  // the modes the launcher offered
  int32_t mWidth = 0;
  int32_t mHeight = 0;
  int32_t mAspectWidth = 0;
  int32_t mAspectHeight = 0;
  bool mFullscreen = false;
  bool mVsync = false;
  int32_t mMultisample = 0;  // 0, 2, 4 or 8
  bool mAlwaysOnTop = false;
  bool mBigScreen = false;
  bool mLowQuality = false;
  bool mLoop = false;  // never set by the launcher
};
