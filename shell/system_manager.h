#pragma once
// systemManager: owns the demo's window. Its start opens the pack, has the renderer prove
// OpenGL 2.0, creates the window and GL context from the launcher's settings and installs its
// window procedure, which forwards input to five listeners; its frame hook carries the pause and
// single-step switch and the frame-rate counter. Its stop destroys the window and closes the pack.

#include <cstdint>
#include <string>
#include <utility>

#include "core/manager.h"
#include "files/pack_table.h"
#include "platform/events.h"
#include "platform/window.h"
#include "shell/input_listener.h"

class CWindowGL;

inline constexpr uint32_t BIG_SCREEN_WAIT_MS = 3000;

class systemManager : public Interface<systemManager> {
  CORE_DECLARE_MANAGER(systemManager)
  uint16_t GetPriority() const override { return 2; }
  bool Initialize() override;
  bool Terminate() override;
  bool FrameUpdate() override;

  virtual bool IsPaused() { return mPaused; }
  virtual void Pause() { mPaused = true; }
  virtual void Resume() { mPaused = false; }
  // Asks for one frame while paused; returns whether the system is paused.
  virtual bool RequestStep();

  // Set by the first Escape press; the demo then fades out.
  bool IsEscapePressed() const { return mEscapePressed; }
  void SetEscapePressed() { mEscapePressed = true; }
  // For a demo started again in the same process (the headless demo, tests).
  void ClearEscapePressed() { mEscapePressed = false; }

  // The pack the start opens, relative to the working folder ("torvane.pak" unless the player was
  // given another).
  void SetPackPath(std::string path) { mPackPath = std::move(path); }

  // The demo window; null before the start and after the stop.
  CWindowGL* GetWindow() const { return mWindow; }
  // Whether the last start failed for want of a window or a GL context.
  bool WindowFailed() const { return mWindowFailed; }

  void SetKeyReleasedListener(InputListener<uint32_t> listener) { mKeyReleased = listener; }
  void SetWheelListener(InputListener<int> listener) { mWheel = listener; }
  void SetMouseMovedListener(InputListener<int, int> listener) { mMouseMoved = listener; }
  void SetButtonPressedListener(InputListener<int, int, int> listener) { mButtonPressed = listener; }
  void SetButtonReleasedListener(InputListener<int, int, int> listener) { mButtonReleased = listener; }

  // The frames per second of the last completed second.
  uint32_t GetFramesPerSecond() const { return mFramesPerSecond; }

  // The demo window's procedure: input to the listeners, Alt+F4 to quit, left-button drags in a
  // window; everything else to the procedure the window had before.
  static intptr_t WindowProcedure(platform::Window* window, const platform::Event& event);

 private:
  bool CreateDemoWindow();
  void CountFrame();
  intptr_t HandleEvent(platform::Window* window, const platform::Event& event);

  bool mPaused = false;
  bool mStepRequested = false;
  CWindowGL* mWindow = nullptr;
  platform::WindowProcedure mPreviousProcedure = nullptr;
  bool mEscapePressed = false;
  bool mWindowFailed = false;
  std::string mPackPath = PACK_FILE_NAME;
  InputListener<uint32_t> mKeyReleased;
  InputListener<int> mWheel;
  InputListener<int, int> mMouseMoved;
  InputListener<int, int, int> mButtonPressed;
  InputListener<int, int, int> mButtonReleased;

  bool mCounting = false;
  uint32_t mFrameCount = 0;
  uint32_t mFramesPerSecond = 0;
  uint32_t mCountStart = 0;
  double mFrameTimeTotal = 0.0;
};
CORE_DECLARE_MANAGER_RECORD(systemManager);

extern systemManager gSystemManager;
