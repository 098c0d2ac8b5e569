#pragma once
// Top-level windows over SDL2: creation with a client size and style, placement, visibility,
// the window procedure that receives the window's events, and dragging a window with the mouse.

#include <cstdint>

namespace platform {

struct Event;
struct Window;

// WINDOW_STYLE_POPUP: no border or caption (the demo window); WINDOW_STYLE_PLAIN: a normal frame;
// WINDOW_STYLE_RESIZABLE: a normal frame the user can resize (the developer mode's window).
constexpr uint32_t WINDOW_STYLE_PLAIN = 0;
constexpr uint32_t WINDOW_STYLE_POPUP = 1;
constexpr uint32_t WINDOW_STYLE_RESIZABLE = 2;

// Receives the events dispatched to a window; the result is the event's answer (0 when handled).
using WindowProcedure = intptr_t (*)(Window* window, const Event& event);

// The text of the last failure of the window layer.
const char* LastWindowError();

// Starts the video subsystem (counted; each true call needs one StopVideo). False if it fails.
bool StartVideo();
void StopVideo();

// Creates a hidden window whose client area is width × height at (x, y), ready for an OpenGL
// context of 24 colour and 16 depth bits, double-buffered. The video subsystem must be started.
// Null on failure (LastWindowError() says why).
Window* CreateWindow(const char* title, uint32_t style, int x, int y, int width, int height);
void DestroyWindow(Window* window);

void ShowWindow(Window* window);
void HideWindow(Window* window);
bool IsWindowShown(Window* window);
void SetWindowPosition(Window* window, int x, int y);
void GetWindowPosition(Window* window, int* x, int* y);
void GetWindowClientSize(Window* window, int* width, int* height);
void SetWindowTopmost(Window* window, bool topmost);
void ShowMouseCursor(bool shown);

// Replaces the window's procedure and returns the one it had (DefaultWindowProcedure at first).
WindowProcedure SetWindowProcedure(Window* window, WindowProcedure procedure);
// Does nothing of note and answers 0: events nobody handles end here.
intptr_t DefaultWindowProcedure(Window* window, const Event& event);
// Hands event to the window's current procedure.
intptr_t CallWindowProcedure(Window* window, const Event& event);
// The window that SDL knows by id; null if it is not one of ours.
Window* FindWindow(uint32_t windowId);
// The SDL window behind window, for the other platform files.
void* NativeWindow(Window* window);

// While the left button stays down, the window follows the mouse (the caption drag of a window
// without a caption), keeping the point (pressX, pressY) of the window where the button went down
// under the pointer. Ends at the button's release.
void BeginWindowDrag(Window* window, int pressX, int pressY);
bool IsWindowDragging(Window* window);
// Moves a dragged window to follow the pointer; the event pump calls it for mouse motion.
void FollowWindowDrag(Window* window, bool buttonReleased);

}  // namespace platform
