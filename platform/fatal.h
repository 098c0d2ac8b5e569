#pragma once
// The process's last exit: the text on stderr, in a message box where a display exists,
// then an immediate exit with FATAL_EXIT_STATUS (no destructors, no atexit handlers).

namespace platform {

constexpr int FATAL_EXIT_STATUS = 1;

[[noreturn]] void FatalAppExit(const char* text);

// Called by FatalAppExit before the process ends (null for none): for a tool that must not leave
// a half-written file behind. It must not call FatalAppExit.
void SetFatalExitCleanup(void (*cleanup)());

}  // namespace platform
