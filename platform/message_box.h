#pragma once
// Message boxes, shown only where a display exists, so headless runs never block on one. Callers
// log the text themselves (through the alert path).

namespace platform {

enum class MessageBoxIcon { Information, Warning, Error };

// True when an X11 or Wayland display is reachable from this process.
bool DisplayAvailable();

// Shows a modal box with one OK button.
void ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon);

}  // namespace platform
