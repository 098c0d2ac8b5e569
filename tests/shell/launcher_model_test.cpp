#include <cstdlib>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "shell/launcher_model.h"
#include "shell/settings_manager.h"

namespace {

platform::DisplayMode Mode(int width, int height, int bits = 32) { return {width, height, bits, 60}; }

std::vector<platform::DisplayMode> TypicalModes() {
  return {Mode(1920, 1080), Mode(1280, 1024), Mode(800, 600), Mode(1024, 768), Mode(1280, 720),
          Mode(1920, 1080, 16), Mode(640, 480, 16), Mode(1280, 800), Mode(1024, 768), Mode(1280, 720)};
}

LauncherModel Opened(int desktopWidth, int desktopHeight, std::vector<platform::DisplayMode> modes = TypicalModes()) {
  LauncherModel model;
  model.Open(modes, desktopWidth, desktopHeight);
  return model;
}

TEST(LauncherModel, ListsEach32BitSizeOnceSortedByWidthThenHeight) {
  LauncherModel model = Opened(1920, 1080);
  std::vector<std::string> expected = {"800 x 600", "1024 x 768", "1280 x 720", "1280 x 800", "1280 x 1024",
                                       "1920 x 1080"};
  EXPECT_EQ(model.ResolutionLabels(), expected);
  EXPECT_EQ(LauncherModel::AspectLabels(), (std::vector<std::string>{"4 : 3", "16 : 9", "16 : 10", "5 : 4"}));
  EXPECT_EQ(LauncherModel::MultisampleLabels(), (std::vector<std::string>{"none", "x 2", "x 4", "x 8"}));
}

TEST(LauncherModel, DesktopSizeIsPreselectedWithItsAspectAndTheDefaults) {
  LauncherModel model = Opened(1920, 1080);
  EXPECT_EQ(model.SelectedResolution(), 5);
  EXPECT_EQ(model.SelectedAspect(), 1) << "16 : 9";
  EXPECT_EQ(model.SelectedMultisample(), 1) << "x 2";
  EXPECT_TRUE(model.Fullscreen());
  EXPECT_TRUE(model.Vsync());
  EXPECT_FALSE(model.BigScreen());
  EXPECT_FALSE(model.AlwaysOnTop());
  EXPECT_FALSE(model.LowQuality());
  EXPECT_FALSE(model.AlwaysOnTopEnabled()) << "full screen disables Always On Top";
  EXPECT_TRUE(model.BigScreenEnabled());
}

TEST(LauncherModel, AspectFollowsTheDesktopRatioExactlyOrStaysAtSixteenNine) {
  EXPECT_EQ(Opened(1280, 1024).SelectedAspect(), 3) << "1.25 gives 5 : 4";
  EXPECT_EQ(Opened(1024, 768).SelectedAspect(), 0) << "4 : 3";
  EXPECT_EQ(Opened(1280, 800).SelectedAspect(), 2) << "1.6 gives 16 : 10";
  EXPECT_EQ(Opened(1366, 768).SelectedAspect(), 1) << "no exact ratio keeps 16 : 9";
  EXPECT_EQ(Opened(1360, 768).SelectedAspect(), 1);
}

TEST(LauncherModel, ADesktopSizeNotListedPreselectsTheLargestMode) {
  LauncherModel model = Opened(1366, 768);
  EXPECT_EQ(model.SelectedResolution(), 5);
  LauncherModel small = Opened(1024, 768, {Mode(640, 480), Mode(800, 600)});
  EXPECT_EQ(small.SelectedResolution(), 1);
}

TEST(LauncherModel, WindowedRunStoresTheWindowsOwnRatioAndFullScreenKeepsTheChoice) {
  LauncherModel model = Opened(1920, 1080);
  model.SelectResolution(1);  // 1024 x 768
  model.SelectAspect(1);      // 16 : 9
  SettingsRecord full;
  ASSERT_TRUE(model.Run(&full));
  EXPECT_EQ(full.mWidth, 1024);
  EXPECT_EQ(full.mHeight, 768);
  EXPECT_EQ(full.mAspectWidth, 16);
  EXPECT_EQ(full.mAspectHeight, 9);

  model.ClickFullscreen(false);
  SettingsRecord windowed;
  ASSERT_TRUE(model.Run(&windowed));
  EXPECT_FALSE(windowed.mFullscreen);
  EXPECT_EQ(windowed.mAspectWidth, 4);
  EXPECT_EQ(windowed.mAspectHeight, 3);

  model.SelectResolution(2);  // 1280 x 720
  model.SelectAspect(3);
  ASSERT_TRUE(model.Run(&windowed));
  EXPECT_EQ(windowed.mAspectWidth, 16);
  EXPECT_EQ(windowed.mAspectHeight, 9);
}

TEST(LauncherModel, WindowedRunAtAnUnusualRatioKeepsTheSelectedPair) {
  LauncherModel model = Opened(1920, 1080, {Mode(1366, 768)});
  model.ClickFullscreen(false);
  model.SelectAspect(2);
  SettingsRecord settings;
  ASSERT_TRUE(model.Run(&settings));
  EXPECT_EQ(settings.mAspectWidth, 16);
  EXPECT_EQ(settings.mAspectHeight, 10);
}

TEST(LauncherModel, LowQualityStoresNoMultisamplingAndDisablesTheList) {
  LauncherModel model = Opened(1920, 1080);
  model.SelectMultisample(3);
  model.ClickLowQuality(true);
  EXPECT_FALSE(model.MultisampleEnabled());
  EXPECT_EQ(model.SelectedMultisample(), 3) << "the list keeps showing its choice";
  SettingsRecord settings;
  ASSERT_TRUE(model.Run(&settings));
  EXPECT_TRUE(settings.mLowQuality);
  EXPECT_EQ(settings.mMultisample, 0);
  model.ClickLowQuality(false);
  EXPECT_TRUE(model.MultisampleEnabled());
  ASSERT_TRUE(model.Run(&settings));
  EXPECT_EQ(settings.mMultisample, 8);
}

TEST(LauncherModel, UncheckingFullscreenGivesAlwaysOnTopBackItsStateAndDisablesBigScreen) {
  LauncherModel model = Opened(1920, 1080);
  model.ClickFullscreen(false);
  EXPECT_TRUE(model.AlwaysOnTopEnabled());
  EXPECT_FALSE(model.BigScreenEnabled());
  model.SetAlwaysOnTop(true);
  model.ClickFullscreen(true);
  EXPECT_FALSE(model.AlwaysOnTopEnabled());
  EXPECT_TRUE(model.BigScreenEnabled());
  model.ClickFullscreen(false);
  EXPECT_TRUE(model.AlwaysOnTopEnabled());
  EXPECT_TRUE(model.AlwaysOnTop());
  model.SetBigScreen(true);
  model.SetVsync(false);
  SettingsRecord settings;
  ASSERT_TRUE(model.Run(&settings));
  EXPECT_TRUE(settings.mAlwaysOnTop);
  EXPECT_TRUE(settings.mBigScreen);
  EXPECT_FALSE(settings.mVsync);
  EXPECT_FALSE(settings.mLoop);
  EXPECT_EQ(settings.mResolutions.size(), 6u);
}

TEST(LauncherModel, WithoutAnyListedModeRunUsesTheDesktopSizeOrStaysImpossible) {
  LauncherModel model = Opened(1280, 1024, {Mode(800, 600, 16)});
  EXPECT_TRUE(model.Resolutions().empty());
  EXPECT_EQ(model.SelectedResolution(), -1);
  model.SelectResolution(0);
  EXPECT_EQ(model.SelectedResolution(), -1) << "a missing entry cannot be selected";
  ASSERT_TRUE(model.CanRun());
  SettingsRecord settings;
  ASSERT_TRUE(model.Run(&settings));
  EXPECT_EQ(settings.mWidth, 1280);
  EXPECT_EQ(settings.mHeight, 1024);

  LauncherModel blind = Opened(0, 0, {});
  EXPECT_FALSE(blind.CanRun());
  SettingsRecord untouched;
  untouched.mWidth = 7;
  EXPECT_FALSE(blind.Run(&untouched));
  EXPECT_EQ(untouched.mWidth, 7);
}

TEST(LauncherModel, AspectOfSizeComparesInSinglePrecision) {
  AspectPair fallback{1, 1};
  EXPECT_EQ(AspectOfSize(1920, 1080, fallback).width, 16);
  EXPECT_EQ(AspectOfSize(2560, 1600, fallback).height, 10);
  EXPECT_EQ(AspectOfSize(1280, 1024, fallback).width, 5);
  EXPECT_EQ(AspectOfSize(1600, 1200, fallback).width, 4);
  EXPECT_EQ(AspectOfSize(1000, 0, fallback).width, 1);
  EXPECT_EQ(AspectOfSize(1366, 768, fallback).width, 1);
}

}  // namespace

namespace {

TEST(Launcher, WithoutADisplayTheStartFailsWithAReason) {
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        std::exit(gSettingsManager.Initialize() ? 3 : 4);
      },
      ::testing::ExitedWithCode(4), ::testing::HasSubstr("no display is available"));
}

}  // namespace
