// The browser has no launcher window: the page's own controls choose the settings.
#include "platform/launcher_dialog.h"

namespace platform {

std::vector<LauncherMisfit> MeasureLauncherTexts(LauncherController&, const char*, double) { return {}; }

void LauncherDialogUnitsToPixels(int unitsX, int unitsY, int* x, int* y) {
  *x = unitsX;
  *y = unitsY;
}

int ShowLauncherDialog(LauncherController&, const LauncherPicture&, const char*) { return LAUNCHER_RESULT_FAILED; }

}  // namespace platform
