#pragma once
// The launcher's window (FLTK): three lists, five check boxes, a picture, a web-page button, Run
// and Close, laid out from the dialog template in dialog units. The rules live with the
// controller; the window shows its view after every change and reports clicks to it.

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum LauncherList { LAUNCHER_RESOLUTIONS, LAUNCHER_ASPECTS, LAUNCHER_MULTISAMPLES, LAUNCHER_LIST_COUNT };
enum LauncherCheck {
  LAUNCHER_FULLSCREEN,
  LAUNCHER_VSYNC,
  LAUNCHER_BIG_SCREEN,
  LAUNCHER_ALWAYS_ON_TOP,
  LAUNCHER_LOW_QUALITY,
  LAUNCHER_CHECK_COUNT
};

struct LauncherView {
  std::vector<std::string> items[LAUNCHER_LIST_COUNT];
  int selected[LAUNCHER_LIST_COUNT] = {-1, -1, -1};  // -1: nothing selected
  bool listEnabled[LAUNCHER_LIST_COUNT] = {true, true, true};
  bool checked[LAUNCHER_CHECK_COUNT] = {};
  bool checkEnabled[LAUNCHER_CHECK_COUNT] = {true, true, true, true, true};
  bool runEnabled = true;
};

class LauncherController {
 public:
  virtual ~LauncherController() = default;
  virtual LauncherView View() const = 0;
  virtual void Selected(LauncherList list, int index) = 0;
  virtual void Clicked(LauncherCheck box, bool checked) = 0;
  virtual void WebPage() = 0;
  // Stores the choices; called only while the view allows Run.
  virtual void Run() = 0;
};

// A 24-bit picture, rows top first, 3 bytes per pixel.
struct LauncherPicture {
  const uint8_t* rgb = nullptr;
  int width = 0;
  int height = 0;
};

constexpr int LAUNCHER_RESULT_FAILED = 0;
constexpr int LAUNCHER_RESULT_RUN = 1;
constexpr int LAUNCHER_RESULT_CLOSE = 2;

// The window's title, which window tools find it by (the dialog shows no caption).
constexpr char LAUNCHER_WINDOW_TITLE[] = "Torvane launcher";

// A text of the launcher that does not fit across its widget, with both widths in pixels.
struct LauncherMisfit {
  std::string text;
  int needed;
  int available;
};

// Lays the dialog out (without showing it) with the controller's view and the web-page button's
// caption at fontScale times the
// default font and returns every label and list line that would be cut off or scrolled. Needs
// a display; empty without one.
std::vector<LauncherMisfit> MeasureLauncherTexts(LauncherController& controller, const char* webCaption, double fontScale);

// The pixel offset inside the dialog of a point given in dialog units (for window tools).
void LauncherDialogUnitsToPixels(int unitsX, int unitsY, int* x, int* y);

// Shows the dialog centred on the desktop and waits until it ends: LAUNCHER_RESULT_RUN after
// Run, LAUNCHER_RESULT_CLOSE after Close (or Escape), LAUNCHER_RESULT_FAILED when there is no
// display to show it on.
int ShowLauncherDialog(LauncherController& controller, const LauncherPicture& picture, const char* webCaption);

}  // namespace platform
