#pragma once
// The launcher's rules, apart from any window: which resolutions are listed and in what order,
// what is preselected, how the options enable each other, and what Run stores. The dialog shows
// this state and reports clicks to it.

#include <string>
#include <vector>

#include "platform/display.h"
#include "shell/settings_record.h"

struct AspectPair {
  int32_t width;
  int32_t height;
};

inline constexpr int ASPECT_COUNT = 4;
inline constexpr AspectPair ASPECT_TABLE[ASPECT_COUNT] = {{4, 3}, {16, 9}, {16, 10}, {5, 4}};
inline constexpr int MULTISAMPLE_COUNT = 4;
inline constexpr int32_t MULTISAMPLE_TABLE[MULTISAMPLE_COUNT] = {0, 2, 4, 8};

struct LauncherDefaults {
  int32_t width;
  int32_t height;
  int bitsPerPixel;  // only modes of this depth are listed
  AspectPair aspect;
  bool fullscreen;
  bool vsync;
  int32_t multisample;
  bool alwaysOnTop;
  bool bigScreen;
  bool lowQuality;
};

inline constexpr LauncherDefaults LAUNCHER_DEFAULTS = {800, 600, 32, {16, 9}, true, true, 2, false, false, false};

// The aspect pair whose ratio width ÷ height equals, in single precision, 4 ÷ 3, 1.25, 16 ÷ 9
// or 1.6; fallback for any other ratio.
AspectPair AspectOfSize(int32_t width, int32_t height, AspectPair fallback);

class LauncherModel {
 public:
  // The dialog's opening: lists, preselections and check boxes from the display's modes and
  // the desktop size.
  void Open(const std::vector<platform::DisplayMode>& modes, int desktopWidth, int desktopHeight);

  void SelectResolution(int index);
  void SelectAspect(int index);
  void SelectMultisample(int index);
  void ClickFullscreen(bool checked);
  void ClickLowQuality(bool checked);
  void SetVsync(bool checked) { mVsync = checked; }
  void SetBigScreen(bool checked) { mBigScreen = checked; }
  void SetAlwaysOnTop(bool checked) { mAlwaysOnTop = checked; }

  // Run is possible with a selected resolution, or with none selected when the desktop size is
  // known (it is used instead).
  bool CanRun() const;
  // Stores the choices into settings; false (settings untouched) when Run is not possible.
  bool Run(SettingsRecord* settings) const;

  const std::vector<Resolution>& Resolutions() const { return mResolutions; }
  std::vector<std::string> ResolutionLabels() const;
  static std::vector<std::string> AspectLabels();
  static std::vector<std::string> MultisampleLabels();

  int SelectedResolution() const { return mResolution; }  // -1: none
  int SelectedAspect() const { return mAspect; }
  int SelectedMultisample() const { return mMultisample; }
  bool Fullscreen() const { return mFullscreen; }
  bool Vsync() const { return mVsync; }
  bool BigScreen() const { return mBigScreen; }
  bool AlwaysOnTop() const { return mAlwaysOnTop; }
  bool LowQuality() const { return mLowQuality; }
  bool AlwaysOnTopEnabled() const { return mAlwaysOnTopEnabled; }
  bool BigScreenEnabled() const { return mBigScreenEnabled; }
  bool MultisampleEnabled() const { return mMultisampleEnabled; }

 private:
  void BuildResolutions(const std::vector<platform::DisplayMode>& modes);
  void PreselectResolution();
  int FindResolution(int32_t width, int32_t height) const;

  std::vector<Resolution> mResolutions;
  Resolution mDesktop;
  int mResolution = -1;
  int mAspect = -1;
  int mMultisample = -1;
  bool mFullscreen = false;
  bool mVsync = false;
  bool mBigScreen = false;
  bool mAlwaysOnTop = false;
  bool mLowQuality = false;
  bool mAlwaysOnTopEnabled = true;
  bool mBigScreenEnabled = true;
  bool mMultisampleEnabled = true;
};
