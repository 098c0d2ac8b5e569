#pragma once
// settingsManager: the launcher. Its start shows the dialog and fills the settings record when
// Run is pressed; Close (or a dialog that cannot be shown) ends the program before any window.

#include <vector>

#include "core/manager.h"
#include "platform/launcher_dialog.h"
#include "shell/settings_record.h"

class settingsManager : public Interface<settingsManager> {
  CORE_DECLARE_MANAGER(settingsManager)
  uint16_t GetPriority() const override { return 1; }
  // Shows the launcher; true exactly when it ended through Run.
  bool Initialize() override;
  bool Terminate() override { return true; }
  bool FrameUpdate() override { return true; }

  const SettingsRecord& GetSettings() const { return mSettings; }
  // For tools and tests that start the engine without the launcher.
  void SetSettings(const SettingsRecord& settings) { mSettings = settings; }

  int32_t GetWidth() const { return mSettings.mWidth; }
  int32_t GetHeight() const { return mSettings.mHeight; }
  int32_t GetAspectWidth() const { return mSettings.mAspectWidth; }
  int32_t GetAspectHeight() const { return mSettings.mAspectHeight; }
  bool IsFullscreen() const { return mSettings.mFullscreen; }
  bool IsVsync() const { return mSettings.mVsync; }
  int32_t GetMultisample() const { return mSettings.mMultisample; }
  bool IsAlwaysOnTop() const { return mSettings.mAlwaysOnTop; }
  bool IsBigScreen() const { return mSettings.mBigScreen; }
  bool IsLowQuality() const { return mSettings.mLowQuality; }
  bool IsLoop() const { return mSettings.mLoop; }
  // The launcher's labels and list lines that its widgets would cut off or scroll at fontScale
  // times the default font, with the choices this display offers (empty: all show whole).
  std::vector<platform::LauncherMisfit> LauncherTextsCutOff(double fontScale) const;
  // Whether the last start failed because the launcher could not be shown (not the user's Close).
  bool LauncherFailed() const { return mLauncherFailed; }
  void SetLoop(bool loop) { mSettings.mLoop = loop; }

 private:
  SettingsRecord mSettings;
  bool mLauncherFailed = false;
};
CORE_DECLARE_MANAGER_RECORD(settingsManager);

extern settingsManager gSettingsManager;
