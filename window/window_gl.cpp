#include "window/window_gl.h"

CWindowGL::~CWindowGL() {
  if (mContext) {
    platform::MakeNoneCurrent();
    platform::DeleteGLContext(mContext);
    mContext = nullptr;
  }
}

bool CWindowGL::CreateContext() {
  if (!mWindow) return false;
  platform::DeleteGLContext(mContext);
  mContext = platform::CreateGLContext(mWindow);
  return mContext != nullptr;
}

bool CWindowGL::MakeCurrent() { return mWindow && mContext && platform::MakeCurrent(mWindow, mContext); }

bool CWindowGL::CreateCentered(int width, int height) {
  if (!Create(WINDOW_TITLE, platform::WINDOW_STYLE_POPUP, 0, 0, width, height)) return false;
  if (!CreateContext() || !MakeCurrent()) return false;
  int desktopWidth = width;
  int desktopHeight = height;
  platform::DesktopSize(&desktopWidth, &desktopHeight);
  platform::SetWindowPosition(mWindow, (desktopWidth - width) / 2, (desktopHeight - height) / 2);
  platform::HideWindow(mWindow);
  return true;
}
