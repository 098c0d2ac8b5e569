#include "shell/system_manager.h"

#include <cfenv>

#include "core/alert.h"
#include "core/debug_output.h"
#include "core/profile_manager.h"
#include "files/pack_file.h"
#include "platform/gl_context.h"
#include "platform/key_codes.h"
#include "platform/timer.h"
#include "render/renderer_manager.h"
#include "shell/big_screen_wait.h"
#include "shell/settings_manager.h"
#include "window/window_gl.h"

CORE_IMPLEMENT_MANAGER(systemManager)

namespace {

constexpr uint32_t FRAME_RATE_WINDOW_MS = 1000;
constexpr char TEXT_CONTEXT_FAILED[] = "System failed CWindowGL::CreateContext().";
constexpr char PAUSE_NOTICE[] = "SYSTEM PAUSE中...[F1で解除 | F2でフレームステップ実行]";
constexpr char RATES_FORMAT[] = "処理:%8.2ffps[%8.2fms] 描画:%lufps @ %s";
constexpr char KEY_HELP[] =
    "[ESC:終了 0～9:CBuf(Shift:WorkBuf) P:Pause M:Mute F:Fwd B:Back A:MSAA+(Shift:-) L:Loop F3:capture F5:reload "
    "F8:build F11:hideText]";

}  // namespace

bool systemManager::Initialize() {
  OpenPackage(mPackPath.c_str());
  std::fesetenv(FE_DFL_ENV);
  gRendererManager.CheckOpenGL();
  mWindowFailed = !CreateDemoWindow();
  if (mWindowFailed) return false;
  mPreviousProcedure = platform::SetWindowProcedure(mWindow->GetPlatformWindow(), WindowProcedure);
  platform::SetSwapInterval(gSettingsManager.IsVsync() ? 1 : 0);
  platform::ShowWindow(mWindow->GetPlatformWindow());
  gRendererManager.SetScreenSize(mWindow->GetWidth(), mWindow->GetHeight());
  if (gSettingsManager.IsBigScreen() && gSettingsManager.IsFullscreen()) return WaitForBigScreen(BIG_SCREEN_WAIT_MS);
  return true;
}

// A window or context that cannot be made ends the start: the frames that follow would have
// nothing to draw into.
bool systemManager::CreateDemoWindow() {
  const SettingsRecord& settings = gSettingsManager.GetSettings();
  mWindow = new CWindowGL;
  if (settings.mFullscreen) {
    if (!mWindow->Create(WINDOW_TITLE, platform::WINDOW_STYLE_POPUP, 0, 0, settings.mWidth, settings.mHeight)) {
      return false;
    }
    if (!mWindow->CreateContext() || !mWindow->MakeCurrent()) {
      RaiseAlert("shell", {"Error", TEXT_CONTEXT_FAILED, AlertIcon::Error});
      return false;
    }
    mWindow->FullScreenOn();
    platform::ShowMouseCursor(false);
    platform::SetWindowTopmost(mWindow->GetPlatformWindow(), false);
    return true;
  }
  if (!mWindow->CreateCentered(settings.mWidth, settings.mHeight)) {
    if (mWindow->GetPlatformWindow()) {
      RaiseAlert("shell", {"Error", TEXT_CONTEXT_FAILED, AlertIcon::Error});
    }
    return false;
  }
  platform::ShowMouseCursor(true);
  platform::SetWindowTopmost(mWindow->GetPlatformWindow(), settings.mAlwaysOnTop);
  return true;
}

bool systemManager::Terminate() {
  delete mWindow;
  mWindow = nullptr;
  mPreviousProcedure = nullptr;
  ClosePackage();
  return true;
}

bool systemManager::RequestStep() {
  if (mPaused) mStepRequested = true;
  return mPaused;
}

bool systemManager::FrameUpdate() {
  if (mPaused) DebugText("%s", PAUSE_NOTICE);
  if (!mPaused && mStepRequested) {
    Pause();
    mStepRequested = false;
  }
  if (mPaused && mStepRequested) Resume();
  CountFrame();
  return true;
}

void systemManager::CountFrame() {
  uint32_t now = platform::TimeGetTime();
  if (!mCounting) {
    mCounting = true;
    mCountStart = now;
  }
  ++mFrameCount;
  if (now - mCountStart >= FRAME_RATE_WINDOW_MS) {
    mFramesPerSecond = mFrameCount;
    mFrameCount = 0;
    mCountStart = now;
  }
  float frameTime = gProfileManager.FrameTime();
  DebugText(RATES_FORMAT, 1000.0 / frameTime, static_cast<double>(frameTime),
            static_cast<unsigned long>(mFramesPerSecond), rendererManager::DriverRendererName());
  mFrameTimeTotal += frameTime;
  DebugText("%s", KEY_HELP);
}

intptr_t systemManager::WindowProcedure(platform::Window* window, const platform::Event& event) {
  return gSystemManager.HandleEvent(window, event);
}

intptr_t systemManager::HandleEvent(platform::Window* window, const platform::Event& event) {
  using platform::EventType;
  switch (event.type) {
    case EventType::KeyUp: mKeyReleased(event.key); return 0;
    case EventType::KeyDown: return 0;
    case EventType::SysKeyDown:
      if (event.key == platform::KEY_F4) platform::PostQuit(0);
      return 0;
    case EventType::MouseMove: mMouseMoved(event.x, event.y); return 0;
    case EventType::ButtonDown:
      if (event.button == 0 && mWindow && !mWindow->IsFullScreen()) platform::BeginWindowDrag(window, event.x, event.y);
      mButtonPressed(event.x, event.y, event.button);
      return 0;
    case EventType::ButtonUp: mButtonReleased(event.x, event.y, event.button); return 0;
    case EventType::Wheel: mWheel(event.wheelDelta); return 0;
    default:
      return mPreviousProcedure ? mPreviousProcedure(window, event) : platform::DefaultWindowProcedure(window, event);
  }
}
