#pragma once
// rendererManager: the global OpenGL state. It proves that OpenGL 2.0 is there before the demo
// window exists (CheckOpenGL, which also initialises GLEW for the whole process), sets the fixed
// pipeline state every drawing part assumes, replays and empties the render command buffer at
// the end of each frame, and presents the frame.
//
// Presentation is replaceable: by default FrameEnd swaps the buffers of the window whose context
// is current; a headless renderer or a video capture installs its own presenter and screen size
// and drives frames without a visible window.

#include <GL/glew.h>

#include <cstdint>

#include "core/manager.h"

using FramePresenter = void (*)();

class rendererManager : public Interface<rendererManager> {
  CORE_DECLARE_MANAGER(rendererManager)
  uint16_t GetPriority() const override { return 16; }
  // Sets the fixed state: depth, culling, no texturing or lighting, alpha blending, alpha test.
  bool Initialize() override;
  // Gives back what the WebGL 2 path made on the context.
  bool Terminate() override;
  bool FrameBegin() override { return true; }
  // Replays the render command buffer, then resets it.
  bool FrameUpdate() override;
  // Presents the frame.
  bool FrameEnd() override;

  // Probes OpenGL through a throw-away 1 × 1 window and initialises GLEW; ends the process with
  // FATAL_NO_OPENGL_2 when OpenGL 2.0 is missing. Returns true.
  virtual bool CheckOpenGL();
  // The driver's name for the renderer of the current context; empty without one.
  static const char* DriverRendererName();
  virtual void Idle() {}
  virtual int Query() { return 0; }
  virtual uint32_t GetFirstCounter() { return mFirstCounter; }
  virtual uint32_t GetCounterDifference() { return mFirstCounter - mSecondCounter; }
  virtual uint32_t GetSecondCounter() { return mSecondCounter; }
  // Writes the capture buffer (by default the front buffer: the last presented frame) of the
  // screen's size to a PNG file, top row first, alpha 255. False when nothing could be written.
  virtual bool CaptureScreen(const char* fileName);

  // The size of the screen that CaptureScreen reads: the demo window's client area.
  void SetScreenSize(uint16_t width, uint16_t height) {
    mScreenWidth = width;
    mScreenHeight = height;
  }
  uint16_t getScreenWidth() const { return mScreenWidth; }
  uint16_t getScreenHeight() const { return mScreenHeight; }

  // The buffer CaptureScreen reads: GL_FRONT, or GL_BACK for a renderer that captures a frame
  // before presenting it (video capture, and drivers whose front buffer reads back empty, as
  // Mesa's software rasteriser on a virtual display).
  void SetCaptureBuffer(GLenum buffer) { mCaptureBuffer = buffer; }

  // Replaces the presenter (null restores the buffer swap of the current window).
  void SetPresenter(FramePresenter presenter);

 private:
  uint32_t mFirstCounter = 0;
  uint32_t mSecondCounter = 0;
  uint16_t mScreenWidth = 0;
  uint16_t mScreenHeight = 0;
  FramePresenter mPresenter = nullptr;
  GLenum mCaptureBuffer = GL_FRONT;
};
CORE_DECLARE_MANAGER_RECORD(rendererManager);

extern rendererManager gRendererManager;
