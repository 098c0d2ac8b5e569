#include "platform/launcher_dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Return_Button.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/message_box.h"

namespace platform {

namespace {

constexpr int DIALOG_WIDTH_DLU = 170;
constexpr int DIALOG_HEIGHT_DLU = 190;
constexpr int FONT_SIZE = 11;

// Dialog units follow the dialog's font, as they always have: a quarter of the average width of
// the letters across and an eighth of the line height down. So the layout grows with the font
// and every text keeps the room the template gave it.
struct DialogUnits {
  int fontSize = FONT_SIZE;
  double across = 1.5;
  double down = 1.625;

  int X(int units) const { return static_cast<int>(std::lround(units * across)); }
  int Y(int units) const { return static_cast<int>(std::lround(units * down)); }
};

DialogUnits UnitsFor(double fontScale) {
  fl_open_display();
  DialogUnits units;
  units.fontSize = static_cast<int>(std::lround(FONT_SIZE * fontScale));
  fl_font(FL_HELVETICA, units.fontSize);
  const char LETTERS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  units.across = fl_width(LETTERS) / 52.0 / 4.0;
  units.down = fl_height() / 8.0;
  return units;
}

struct Rect {
  int x, y, w, h;
};

struct GroupBox {
  const char* label;
  Rect rect;
};

constexpr GroupBox GROUP_BOXES[] = {
    {"R e s o l u t i o n", {67, 3, 100, 51}},
    {"A s p e c t", {67, 54, 45, 54}},
    {"F S A A", {117, 54, 50, 54}},
    {"O p t i o n s", {67, 108, 100, 60}},
};

constexpr Rect LIST_RECTS[LAUNCHER_LIST_COUNT] = {{71, 13, 91, 37}, {71, 64, 37, 40}, {121, 64, 41, 40}};

struct CheckBox {
  const char* label;
  Rect rect;
};

constexpr CheckBox CHECK_BOXES[LAUNCHER_CHECK_COUNT] = {
    {"  F u l l s c r e e n", {71, 118, 91, 8}},
    {"  V  S y n c", {71, 128, 91, 8}},
    {"  B i g S c r e e n", {71, 138, 91, 8}},
    {"  A l w a y s  O n  T o p", {71, 148, 91, 8}},
    {"  L o w  Q u a l i t y", {71, 159, 91, 8}},
};

constexpr Rect RUN_RECT = {67, 170, 51, 17};
constexpr Rect CLOSE_RECT = {121, 170, 46, 17};
constexpr Rect WEB_RECT = {3, 170, 61, 17};
constexpr Rect PICTURE_RECT = {3, 3, 61, 164};

// The window without a caption moves when its background is dragged.
class LauncherWindow : public Fl_Double_Window {
 public:
  using Fl_Double_Window::Fl_Double_Window;

  int handle(int event) override {
    int handled = Fl_Double_Window::handle(event);
    if (event == FL_PUSH && !handled && Fl::event_button() == FL_LEFT_MOUSE) {
      mGrabX = Fl::event_x_root() - x();
      mGrabY = Fl::event_y_root() - y();
      mDragging = true;
      return 1;
    }
    if (event == FL_DRAG && mDragging) {
      position(Fl::event_x_root() - mGrabX, Fl::event_y_root() - mGrabY);
      return 1;
    }
    if (event == FL_RELEASE && mDragging) {
      mDragging = false;
      return 1;
    }
    return handled;
  }

 private:
  bool mDragging = false;
  int mGrabX = 0;
  int mGrabY = 0;
};

// What a list line takes beside its text.
constexpr int LIST_LINE_MARGIN = 6;

// A list box that can tell whether its lines fit across it.
class LauncherListBox : public Fl_Hold_Browser {
 public:
  using Fl_Hold_Browser::Fl_Hold_Browser;
  // The widest line and the width the lines are shown in, scroll bar and frame taken off.
  int ContentWidth() const { return full_width(); }
  int ViewWidth() const {
    int x = 0, y = 0, w = 0, h = 0;
    bbox(x, y, w, h);
    return w;
  }
};

// The room a labelled widget leaves its label: a check box's mark and the frames take theirs.
int LabelRoom(const Fl_Widget& widget) {
  int frames = 2 * Fl::box_dx(widget.box()) + 4;
  if (dynamic_cast<const Fl_Check_Button*>(&widget)) frames += widget.labelsize() + 4;
  return widget.w() - frames;
}

class LauncherDialog {
 public:
  LauncherDialog(LauncherController& controller, const LauncherPicture& picture, const char* webCaption,
                 double fontScale = 1.0);
  int Run();
  // Every text that does not fit its widget.
  std::vector<LauncherMisfit> Misfits() const;

 private:
  template <class Widget>
  Widget* Make(const Rect& r, const char* label = nullptr) {
    auto* widget = new Widget(mUnits.X(r.x), mUnits.Y(r.y), mUnits.X(r.w), mUnits.Y(r.h), label);
    widget->labelsize(mUnits.fontSize);
    return widget;
  }
  void BuildGroupBoxes();
  void BuildLists();
  void BuildCheckBoxes();
  void BuildButtons(const char* webCaption);
  void BuildPicture(const LauncherPicture& picture);
  void Refresh();
  void End(int result);

  static void OnList(Fl_Widget* widget, void* data);
  static void OnCheck(Fl_Widget* widget, void* data);
  static void OnRun(Fl_Widget* widget, void* data);
  static void OnClose(Fl_Widget* widget, void* data);
  static void OnWeb(Fl_Widget* widget, void* data);

  LauncherController& mController;
  DialogUnits mUnits;
  std::unique_ptr<LauncherWindow> mWindow;
  std::vector<Fl_Widget*> mLabelled;  // group boxes, check boxes and buttons
  std::unique_ptr<Fl_RGB_Image> mPicture;
  LauncherListBox* mLists[LAUNCHER_LIST_COUNT] = {};
  Fl_Check_Button* mChecks[LAUNCHER_CHECK_COUNT] = {};
  Fl_Return_Button* mRun = nullptr;
  int mResult = LAUNCHER_RESULT_CLOSE;
};

LauncherDialog::LauncherDialog(LauncherController& controller, const LauncherPicture& picture, const char* webCaption,
                               double fontScale)
    : mController(controller), mUnits(UnitsFor(fontScale)) {
  int width = mUnits.X(DIALOG_WIDTH_DLU);
  int height = mUnits.Y(DIALOG_HEIGHT_DLU);
  mWindow = std::make_unique<LauncherWindow>((Fl::w() - width) / 2, (Fl::h() - height) / 2, width, height,
                                             LAUNCHER_WINDOW_TITLE);
  mWindow->border(0);
  mWindow->box(FL_UP_BOX);
  mWindow->callback(OnClose, this);  // Escape and the window manager's close button
  BuildPicture(picture);
  BuildGroupBoxes();
  BuildLists();
  BuildCheckBoxes();
  BuildButtons(webCaption);
  mWindow->end();
  mWindow->set_modal();
  Refresh();
}

void LauncherDialog::BuildPicture(const LauncherPicture& picture) {
  Fl_Box* box = Make<Fl_Box>(PICTURE_RECT);
  box->box(FL_DOWN_FRAME);
  if (picture.rgb) {
    mPicture = std::make_unique<Fl_RGB_Image>(picture.rgb, picture.width, picture.height, 3);
    box->image(mPicture.get());
  }
}

void LauncherDialog::BuildGroupBoxes() {
  for (const GroupBox& group : GROUP_BOXES) {
    Fl_Box* box = Make<Fl_Box>(group.rect, group.label);
    box->box(FL_ENGRAVED_FRAME);
    box->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
    box->labelsize(mUnits.fontSize - 2);
    mLabelled.push_back(box);
  }
}

void LauncherDialog::BuildLists() {
  for (int i = 0; i < LAUNCHER_LIST_COUNT; ++i) {
    mLists[i] = Make<LauncherListBox>(LIST_RECTS[i]);
    mLists[i]->textsize(mUnits.fontSize);
    mLists[i]->callback(OnList, this);
    mLists[i]->when(FL_WHEN_CHANGED);
  }
  // Only the resolution list scrolls; the aspect and multisampling lists show their four lines whole.
  mLists[LAUNCHER_RESOLUTIONS]->has_scrollbar(Fl_Browser_::VERTICAL_ALWAYS);
  mLists[LAUNCHER_ASPECTS]->has_scrollbar(0);
  mLists[LAUNCHER_MULTISAMPLES]->has_scrollbar(0);
}

void LauncherDialog::BuildCheckBoxes() {
  for (int i = 0; i < LAUNCHER_CHECK_COUNT; ++i) {
    Rect r = CHECK_BOXES[i].rect;
    r.h += 2;
    mChecks[i] = Make<Fl_Check_Button>(r, CHECK_BOXES[i].label);
    mChecks[i]->callback(OnCheck, this);
    mLabelled.push_back(mChecks[i]);
  }
}

void LauncherDialog::BuildButtons(const char* webCaption) {
  mRun = Make<Fl_Return_Button>(RUN_RECT, "Run");
  mRun->callback(OnRun, this);
  Fl_Button* close = Make<Fl_Button>(CLOSE_RECT, "Close");
  close->callback(OnClose, this);
  Fl_Button* web = Make<Fl_Button>(WEB_RECT, webCaption);
  web->labelsize(mUnits.fontSize - 2);
  web->callback(OnWeb, this);
  mLabelled.insert(mLabelled.end(), {mRun, close, web});
}

void LauncherDialog::Refresh() {
  LauncherView view = mController.View();
  for (int i = 0; i < LAUNCHER_LIST_COUNT; ++i) {
    LauncherListBox* list = mLists[i];
    if (list->size() != static_cast<int>(view.items[i].size())) {
      list->clear();
      for (const std::string& item : view.items[i]) list->add(item.c_str());
    }
    list->value(view.selected[i] + 1);  // FLTK lines count from 1; 0 selects nothing
    if (view.selected[i] >= 0) list->middleline(view.selected[i] + 1);
    if (view.listEnabled[i]) list->activate(); else list->deactivate();
  }
  for (int i = 0; i < LAUNCHER_CHECK_COUNT; ++i) {
    mChecks[i]->value(view.checked[i] ? 1 : 0);
    if (view.checkEnabled[i]) mChecks[i]->activate(); else mChecks[i]->deactivate();
  }
  if (view.runEnabled) mRun->activate(); else mRun->deactivate();
}

std::vector<LauncherMisfit> LauncherDialog::Misfits() const {
  // Lists decide on their scroll bars as they draw.
  mWindow->show();
  mWindow->wait_for_expose();
  Fl::flush();
  std::vector<LauncherMisfit> misfits;
  for (Fl_Widget* widget : mLabelled) {
    int width = 0, height = 0;
    widget->measure_label(width, height);
    if (width > LabelRoom(*widget)) misfits.push_back({widget->label(), width, LabelRoom(*widget)});
  }
  for (const LauncherListBox* list : mLists) {
    fl_font(list->textfont(), list->textsize());
    for (int line = 1; line <= list->size(); ++line) {
      int needed = static_cast<int>(std::ceil(fl_width(list->text(line)))) + LIST_LINE_MARGIN;
      if (needed > list->ViewWidth() || list->ContentWidth() > list->ViewWidth()) {
        misfits.push_back({list->text(line), std::max(needed, list->ContentWidth()), list->ViewWidth()});
      }
    }
  }
  mWindow->hide();
  return misfits;
}

void LauncherDialog::End(int result) {
  mResult = result;
  mWindow->hide();
}

int LauncherDialog::Run() {
  mWindow->show();
  while (mWindow->shown()) Fl::wait();
  Fl::flush();
  return mResult;
}

void LauncherDialog::OnList(Fl_Widget* widget, void* data) {
  auto* dialog = static_cast<LauncherDialog*>(data);
  for (int i = 0; i < LAUNCHER_LIST_COUNT; ++i) {
    if (dialog->mLists[i] != widget) continue;
    int line = dialog->mLists[i]->value();
    if (line > 0) dialog->mController.Selected(static_cast<LauncherList>(i), line - 1);
  }
  dialog->Refresh();
}

void LauncherDialog::OnCheck(Fl_Widget* widget, void* data) {
  auto* dialog = static_cast<LauncherDialog*>(data);
  for (int i = 0; i < LAUNCHER_CHECK_COUNT; ++i) {
    if (dialog->mChecks[i] == widget) {
      dialog->mController.Clicked(static_cast<LauncherCheck>(i), dialog->mChecks[i]->value() != 0);
    }
  }
  dialog->Refresh();
}

void LauncherDialog::OnRun(Fl_Widget*, void* data) {
  auto* dialog = static_cast<LauncherDialog*>(data);
  if (!dialog->mController.View().runEnabled) return;
  dialog->mController.Run();
  dialog->End(LAUNCHER_RESULT_RUN);
}

void LauncherDialog::OnClose(Fl_Widget*, void* data) { static_cast<LauncherDialog*>(data)->End(LAUNCHER_RESULT_CLOSE); }

void LauncherDialog::OnWeb(Fl_Widget*, void* data) { static_cast<LauncherDialog*>(data)->mController.WebPage(); }

}  // namespace

void LauncherDialogUnitsToPixels(int unitsX, int unitsY, int* x, int* y) {
  DialogUnits units = UnitsFor(1.0);
  *x = units.X(unitsX);
  *y = units.Y(unitsY);
}

std::vector<LauncherMisfit> MeasureLauncherTexts(LauncherController& controller, const char* webCaption, double fontScale) {
  if (!DisplayAvailable()) return {};
  LauncherDialog dialog(controller, LauncherPicture{}, webCaption, fontScale);
  return dialog.Misfits();
}

int ShowLauncherDialog(LauncherController& controller, const LauncherPicture& picture, const char* webCaption) {
  if (!DisplayAvailable()) return LAUNCHER_RESULT_FAILED;
  LauncherDialog dialog(controller, picture, webCaption);
  return dialog.Run();
}

}  // namespace platform
