// The launcher's real window, clicked through on the suite's own display.
#include <future>

#include <gtest/gtest.h>

#include "platform/launcher_dialog.h"
#include "shell/settings_manager.h"
#include "tests/support/x_driver.h"

namespace {

constexpr int OPEN_TIMEOUT_MS = 20000;


// Clicks the given controls in order once the dialog shows; false if it never showed.
std::future<bool> ClickWhenShown(std::vector<const int (*)[2]> controls) {
  return std::async(std::launch::async, [controls] {
    std::string dialog = WaitForWindow("^" + std::string(platform::LAUNCHER_WINDOW_TITLE) + "$", OPEN_TIMEOUT_MS);
    if (dialog.empty()) return false;
    SleepMs(300);
    for (const int (*control)[2] : controls) {
      ClickLauncherControl(dialog, (*control)[0], (*control)[1]);
      SleepMs(300);
    }
    return true;
  });
}

TEST(LauncherDialog, RunStoresWhatWasClickedWindowedWithLowQuality) {
  std::future<bool> clicks = ClickWhenShown({&LAUNCHER_FULLSCREEN_BOX, &LAUNCHER_LOW_QUALITY_BOX, &LAUNCHER_FIRST_ASPECT, &LAUNCHER_RUN_BUTTON});
  settingsManager& launcher = gSettingsManager;
  launcher.SetSettings(SettingsRecord{});
  bool ran = launcher.Initialize();
  ASSERT_TRUE(clicks.get()) << "the dialog never showed";
  ASSERT_TRUE(ran);
  const SettingsRecord& settings = launcher.GetSettings();
  EXPECT_EQ(settings.mWidth, 1920) << "the desktop size is preselected";
  EXPECT_EQ(settings.mHeight, 1080);
  EXPECT_FALSE(settings.mFullscreen);
  EXPECT_TRUE(settings.mLowQuality);
  EXPECT_EQ(settings.mMultisample, 0);
  EXPECT_TRUE(settings.mVsync);
  EXPECT_EQ(settings.mAspectWidth, 16) << "a windowed 1920 x 1080 stores its own ratio over 4 : 3";
  EXPECT_EQ(settings.mAspectHeight, 9);
}

TEST(LauncherDialog, CloseEndsTheStart) {
  std::future<bool> clicks = ClickWhenShown({&LAUNCHER_CLOSE_BUTTON});
  settingsManager& launcher = gSettingsManager;
  launcher.SetSettings(SettingsRecord{});
  EXPECT_FALSE(launcher.Initialize());
  EXPECT_TRUE(clicks.get());
  EXPECT_EQ(launcher.GetSettings().mWidth, 0);
}

// Every label and list line shows whole, at the default font and at one and a half times its size:
// no list scrolls across ("16 : 10" in the aspect list) and no check box cuts its label
// ("Always On Top").
TEST(LauncherDialog, EveryTextFitsItsWidgetAtTheDefaultFontAndAtOneAndAHalfTimesIt) {
  for (double scale : {1.0, 1.5}) {
    std::vector<platform::LauncherMisfit> misfits = gSettingsManager.LauncherTextsCutOff(scale);
    for (const platform::LauncherMisfit& misfit : misfits) {
      ADD_FAILURE() << "at " << scale << " x the font, \"" << misfit.text << "\" needs " << misfit.needed << " px of "
                    << misfit.available;
    }
  }
}

}  // namespace
