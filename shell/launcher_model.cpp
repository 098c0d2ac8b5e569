#include "shell/launcher_model.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string FormatPair(const char* format, int a, int b) {
  char text[64];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

std::string FormatSamples(int samples) {
  char text[32];
  std::snprintf(text, sizeof text, "x %d", samples);
  return text;
}

int IndexOfAspect(AspectPair pair) {
  for (int i = 0; i < ASPECT_COUNT; ++i) {
    if (ASPECT_TABLE[i].width == pair.width && ASPECT_TABLE[i].height == pair.height) return i;
  }
  return -1;
}

int IndexOfMultisample(int32_t samples) {
  for (int i = 0; i < MULTISAMPLE_COUNT; ++i) {
    if (MULTISAMPLE_TABLE[i] == samples) return i;
  }
  return -1;
}

}  // namespace

AspectPair AspectOfSize(int32_t width, int32_t height, AspectPair fallback) {
  if (height == 0) return fallback;
  float ratio = static_cast<float>(width) / static_cast<float>(height);
  if (ratio == 4.0f / 3.0f) return {4, 3};
  if (ratio == 1.25f) return {5, 4};
  if (ratio == 16.0f / 9.0f) return {16, 9};
  if (ratio == 1.6f) return {16, 10};
  return fallback;
}

void LauncherModel::Open(const std::vector<platform::DisplayMode>& modes, int desktopWidth, int desktopHeight) {
  mDesktop = {desktopWidth, desktopHeight};
  BuildResolutions(modes);
  PreselectResolution();

  mAspect = 0;
  mAspect = IndexOfAspect(LAUNCHER_DEFAULTS.aspect);
  mAspect = IndexOfAspect(AspectOfSize(desktopWidth, desktopHeight, ASPECT_TABLE[mAspect]));

  mMultisample = 0;
  mMultisample = IndexOfMultisample(LAUNCHER_DEFAULTS.multisample);

  mFullscreen = LAUNCHER_DEFAULTS.fullscreen;
  mVsync = LAUNCHER_DEFAULTS.vsync;
  mBigScreen = LAUNCHER_DEFAULTS.bigScreen;
  mAlwaysOnTop = LAUNCHER_DEFAULTS.alwaysOnTop;
  mLowQuality = LAUNCHER_DEFAULTS.lowQuality;
  mAlwaysOnTopEnabled = !mFullscreen;
  mBigScreenEnabled = true;
  mMultisampleEnabled = true;
}

void LauncherModel::BuildResolutions(const std::vector<platform::DisplayMode>& modes) {
  mResolutions.clear();
  for (const platform::DisplayMode& mode : modes) {
    if (mode.bitsPerPixel != LAUNCHER_DEFAULTS.bitsPerPixel) continue;
    if (FindResolution(mode.width, mode.height) < 0) mResolutions.push_back({mode.width, mode.height});
  }
  std::stable_sort(mResolutions.begin(), mResolutions.end(), [](const Resolution& a, const Resolution& b) {
    return a.width != b.width ? a.width < b.width : a.height < b.height;
  });
}

// Entry 0, then 800 × 600, then the desktop size or else the last (largest) entry.
void LauncherModel::PreselectResolution() {
  mResolution = -1;
  if (mResolutions.empty()) return;
  mResolution = 0;
  int byDefault = FindResolution(LAUNCHER_DEFAULTS.width, LAUNCHER_DEFAULTS.height);
  if (byDefault >= 0) mResolution = byDefault;
  int desktop = FindResolution(mDesktop.width, mDesktop.height);
  mResolution = desktop >= 0 ? desktop : static_cast<int>(mResolutions.size()) - 1;
}

int LauncherModel::FindResolution(int32_t width, int32_t height) const {
  for (size_t i = 0; i < mResolutions.size(); ++i) {
    if (mResolutions[i].width == width && mResolutions[i].height == height) return static_cast<int>(i);
  }
  return -1;
}

void LauncherModel::SelectResolution(int index) {
  if (index >= 0 && index < static_cast<int>(mResolutions.size())) mResolution = index;
}

void LauncherModel::SelectAspect(int index) {
  if (index >= 0 && index < ASPECT_COUNT) mAspect = index;
}

void LauncherModel::SelectMultisample(int index) {
  if (index >= 0 && index < MULTISAMPLE_COUNT && mMultisampleEnabled) mMultisample = index;
}

void LauncherModel::ClickFullscreen(bool checked) {
  bool remembered = mAlwaysOnTop;
  mFullscreen = checked;
  mAlwaysOnTopEnabled = !checked;
  if (!checked) mAlwaysOnTop = remembered;
  mBigScreenEnabled = checked;
}

void LauncherModel::ClickLowQuality(bool checked) {
  mLowQuality = checked;
  mMultisampleEnabled = !checked;
}

bool LauncherModel::CanRun() const { return mResolution >= 0 || (mDesktop.width > 0 && mDesktop.height > 0); }

bool LauncherModel::Run(SettingsRecord* settings) const {
  if (!CanRun()) return false;
  Resolution chosen = mResolution >= 0 ? mResolutions[static_cast<size_t>(mResolution)] : mDesktop;
  AspectPair aspect = ASPECT_TABLE[mAspect >= 0 ? mAspect : IndexOfAspect(LAUNCHER_DEFAULTS.aspect)];
  if (!mFullscreen) aspect = AspectOfSize(chosen.width, chosen.height, aspect);
  settings->mResolutions = mResolutions;
  settings->mWidth = chosen.width;
  settings->mHeight = chosen.height;
  settings->mAspectWidth = aspect.width;
  settings->mAspectHeight = aspect.height;
  settings->mFullscreen = mFullscreen;
  settings->mVsync = mVsync;
  settings->mBigScreen = mBigScreen;
  settings->mAlwaysOnTop = mAlwaysOnTop;
  settings->mLowQuality = mLowQuality;
  settings->mMultisample = mLowQuality || mMultisample < 0 ? 0 : MULTISAMPLE_TABLE[mMultisample];
  return true;
}

std::vector<std::string> LauncherModel::ResolutionLabels() const {
  std::vector<std::string> labels;
  for (const Resolution& r : mResolutions) labels.push_back(FormatPair("%d x %d", r.width, r.height));
  return labels;
}

std::vector<std::string> LauncherModel::AspectLabels() {
  std::vector<std::string> labels;
  for (const AspectPair& pair : ASPECT_TABLE) labels.push_back(FormatPair("%d : %d", pair.width, pair.height));
  return labels;
}

std::vector<std::string> LauncherModel::MultisampleLabels() {
  std::vector<std::string> labels;
  for (int32_t samples : MULTISAMPLE_TABLE) {
    labels.push_back(samples == 0 ? std::string("none") : FormatSamples(samples));
  }
  return labels;
}
