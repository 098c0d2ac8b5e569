#pragma once
// Message boxes. The text always goes to stderr too; a box is shown only where a display exists,
// so headless runs never block on one.

namespace platform {

enum class MessageBoxIcon { Information, Warning, Error };

// True when an X11 or Wayland display is reachable from this process.
bool DisplayAvailable();

// Shows a modal box with one OK button and writes "caption: text" to stderr.
void ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon);

}  // namespace platform
