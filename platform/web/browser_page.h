#pragma once
// The page around the browser player: its canvas, its main loop (the browser's animation frames)
// and what the engine tells the page (messages for the user, states the page and tests watch).

namespace platform {

// Creates a WebGL 2 context on the page's canvas at width × height drawing-buffer pixels and makes
// it current. keepPicture keeps the drawing buffer after it is shown (a paused frame). False when
// the browser offers no WebGL 2.
bool CreateCanvasContext(int width, int height, bool keepPicture);
// Whether float colour attachments (EXT_color_buffer_float) were enabled on that context.
bool CanvasHasFloatTargets();

// Calls step once per animation frame from now on; returns at once (the browser runs the loop).
void RunBrowserLoop(void (*step)(void* user), void* user);
void EndBrowserLoop();
// Calls tick every intervalMs from now on, between animation frames as well: for work that must
// keep pace with the clock however long the frames take (the music's ring buffer).
void RunBrowserTimer(void (*tick)(void* user), void* user, double intervalMs);
// Lets the browser show what was drawn and handle its events, then carries on: for long work
// inside one step, such as the loading screen.
void YieldToBrowser();

// A message for the user shown on the page over the canvas.
void ShowPageMessage(const char* title, const char* text);
// Tells the page the player reached state ("loading", "playing", "frame", "ended", "failed").
void ReportPageState(const char* state);
// How many times Escape was pressed on the page since it opened.
int PageEscapeCount();

}  // namespace platform
