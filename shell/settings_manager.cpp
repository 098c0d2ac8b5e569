#include "shell/settings_manager.h"

#include "core/alert.h"
#include "platform/display.h"
#include "platform/launcher_dialog.h"
#include "platform/web_page.h"
#include "platform/window.h"
#include "shell/launcher_bitmap.h"
#include "shell/launcher_model.h"

CORE_IMPLEMENT_MANAGER(settingsManager)

namespace {

constexpr char WEB_PAGE_ADDRESS[] = "https://torvane.github.io/";
constexpr char WEB_PAGE_CAPTION[] = "torvane.github.io";
constexpr char TEXT_NO_LAUNCHER[] = "The launcher could not be shown: no display is available.";

// Without a display the program cannot run at all; say so instead of ending silently.
void ShowLauncherFailure() {
  RaiseAlert("shell", {"Error", TEXT_NO_LAUNCHER, AlertIcon::Error});
}

std::vector<platform::DisplayMode> PrimaryDisplayModes() {
  std::vector<platform::DisplayMode> modes;
  platform::DisplayMode mode;
  for (int index = 0; platform::EnumDisplayMode(index, &mode); ++index) modes.push_back(mode);
  return modes;
}

// Connects the dialog's widgets to the launcher's rules.
class LauncherController : public platform::LauncherController {
 public:
  LauncherController(LauncherModel& model, SettingsRecord& settings) : mModel(model), mSettings(settings) {}

  platform::LauncherView View() const override {
    platform::LauncherView view;
    view.items[platform::LAUNCHER_RESOLUTIONS] = mModel.ResolutionLabels();
    view.items[platform::LAUNCHER_ASPECTS] = LauncherModel::AspectLabels();
    view.items[platform::LAUNCHER_MULTISAMPLES] = LauncherModel::MultisampleLabels();
    view.selected[platform::LAUNCHER_RESOLUTIONS] = mModel.SelectedResolution();
    view.selected[platform::LAUNCHER_ASPECTS] = mModel.SelectedAspect();
    view.selected[platform::LAUNCHER_MULTISAMPLES] = mModel.SelectedMultisample();
    view.listEnabled[platform::LAUNCHER_MULTISAMPLES] = mModel.MultisampleEnabled();
    view.checked[platform::LAUNCHER_FULLSCREEN] = mModel.Fullscreen();
    view.checked[platform::LAUNCHER_VSYNC] = mModel.Vsync();
    view.checked[platform::LAUNCHER_BIG_SCREEN] = mModel.BigScreen();
    view.checked[platform::LAUNCHER_ALWAYS_ON_TOP] = mModel.AlwaysOnTop();
    view.checked[platform::LAUNCHER_LOW_QUALITY] = mModel.LowQuality();
    view.checkEnabled[platform::LAUNCHER_BIG_SCREEN] = mModel.BigScreenEnabled();
    view.checkEnabled[platform::LAUNCHER_ALWAYS_ON_TOP] = mModel.AlwaysOnTopEnabled();
    view.runEnabled = mModel.CanRun();
    return view;
  }

  void Selected(platform::LauncherList list, int index) override {
    switch (list) {
      case platform::LAUNCHER_RESOLUTIONS: mModel.SelectResolution(index); break;
      case platform::LAUNCHER_ASPECTS: mModel.SelectAspect(index); break;
      default: mModel.SelectMultisample(index); break;
    }
  }

  void Clicked(platform::LauncherCheck box, bool checked) override {
    switch (box) {
      case platform::LAUNCHER_FULLSCREEN: mModel.ClickFullscreen(checked); break;
      case platform::LAUNCHER_VSYNC: mModel.SetVsync(checked); break;
      case platform::LAUNCHER_BIG_SCREEN: mModel.SetBigScreen(checked); break;
      case platform::LAUNCHER_ALWAYS_ON_TOP: mModel.SetAlwaysOnTop(checked); break;
      default: mModel.ClickLowQuality(checked); break;
    }
  }

  void WebPage() override { platform::OpenWebPage(WEB_PAGE_ADDRESS); }

  void Run() override { mModel.Run(&mSettings); }

 private:
  LauncherModel& mModel;
  SettingsRecord& mSettings;
};

}  // namespace

namespace {

// The launcher's choices as the display offers them; false without a display.
bool OpenLauncherModel(LauncherModel& model) {
  if (!platform::StartVideo()) return false;
  int desktopWidth = 0;
  int desktopHeight = 0;
  platform::DesktopSize(&desktopWidth, &desktopHeight);
  model.Open(PrimaryDisplayModes(), desktopWidth, desktopHeight);
  platform::StopVideo();
  return true;
}

}  // namespace

bool settingsManager::Initialize() {
  mLauncherFailed = false;
  LauncherModel model;
  if (!OpenLauncherModel(model)) {
    mLauncherFailed = true;
    ShowLauncherFailure();
    return false;
  }

  std::vector<uint8_t> pixels = LauncherBitmapPixels();
  platform::LauncherPicture picture{pixels.data(), LAUNCHER_BITMAP_WIDTH, LAUNCHER_BITMAP_HEIGHT};
  LauncherController controller(model, mSettings);
  int result = platform::ShowLauncherDialog(controller, picture, WEB_PAGE_CAPTION);
  mLauncherFailed = result == platform::LAUNCHER_RESULT_FAILED;
  if (mLauncherFailed) ShowLauncherFailure();
  return result == platform::LAUNCHER_RESULT_RUN;
}

std::vector<platform::LauncherMisfit> settingsManager::LauncherTextsCutOff(double fontScale) const {
  LauncherModel model;
  if (!OpenLauncherModel(model)) return {};
  SettingsRecord untouched;
  LauncherController controller(model, untouched);
  return platform::MeasureLauncherTexts(controller, WEB_PAGE_CAPTION, fontScale);
}
