#pragma once
// OpenGL contexts of windows made by platform/window.h, buffer swapping and the swap interval.

namespace platform {

struct Window;
struct GLContext;

// A context for window in the window's pixel format; null on failure.
GLContext* CreateGLContext(Window* window);
void DeleteGLContext(GLContext* context);
bool MakeCurrent(Window* window, GLContext* context);
// Leaves no context current on this thread.
void MakeNoneCurrent();
// Presents the back buffer of the window whose context is current; nothing when there is none.
void SwapCurrentWindow();
// Sets the swap interval (1: wait for the display refresh, 0: do not); false where the driver
// offers no swap control.
bool SetSwapInterval(int interval);

}  // namespace platform
