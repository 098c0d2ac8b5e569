#pragma once
// Opening a web address in the user's browser.

namespace platform {

// Hands address to xdg-open without waiting for it; false if it could not be started.
bool OpenWebPage(const char* address);

}  // namespace platform
