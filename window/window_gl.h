#pragma once
// CWindowGL: a CWindow with an OpenGL context in the window's pixel format (24 colour bits,
// 16 depth bits, double-buffered).

#include "platform/gl_context.h"
#include "window/window.h"

class CWindowGL : public CWindow {
 public:
  CWindowGL() = default;
  // Makes no context current and deletes the context, then destroys the window.
  ~CWindowGL() override;

  // Creates the context for the window; false if there is no window or it fails.
  bool CreateContext();
  bool MakeCurrent();

  // The demo window: "Torvane", borderless, width × height, with its context current, centred
  // on the desktop and hidden (the caller shows it).
  bool CreateCentered(int width, int height);

  platform::GLContext* GetContext() const { return mContext; }

 private:
  platform::GLContext* mContext = nullptr;
};
