#pragma once
// The process's last exit: the text on stderr, in a message box where a display exists,
// then an immediate exit with FATAL_EXIT_STATUS (no destructors, no atexit handlers).

namespace platform {

constexpr int FATAL_EXIT_STATUS = 1;

[[noreturn]] void FatalAppExit(const char* text);

// The two halves of FatalAppExit, for an exit that adds lines of its own on stderr between them:
// the text on stderr, then the box (where a display exists and boxes are wanted) and the exit.
void WriteFatalText(const char* text);
[[noreturn]] void ExitWithFatalBox(const char* text);

// Programs without a user at a screen (the tools) end on stderr alone, even with a display.
void SetFatalBoxesShown(bool shown);

// Called by FatalAppExit before the process ends (null for none): for a tool that must not leave
// a half-written file behind. It must not call FatalAppExit.
void SetFatalExitCleanup(void (*cleanup)());

}  // namespace platform
