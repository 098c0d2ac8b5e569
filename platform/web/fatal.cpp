// The browser's last exit: the text on the page instead of a message box, and the player's loop
// ended; the page stays, showing why.
#include "platform/fatal.h"

#include <cstdio>
#include <cstdlib>

#include "platform/web/browser_page.h"

namespace platform {

namespace {

void (*gCleanup)() = nullptr;

}  // namespace

void WriteFatalText(const char* text) { std::fprintf(stderr, "%s\n", text); }

void ExitWithFatalBox(const char* text) {
  if (gCleanup) gCleanup();
  ShowPageMessage("Error", text);
  ReportPageState("failed");
  EndBrowserLoop();
  std::_Exit(FATAL_EXIT_STATUS);
}

void FatalAppExit(const char* text) {
  WriteFatalText(text);
  ExitWithFatalBox(text);
}

void SetFatalBoxesShown(bool) {}

void SetFatalExitCleanup(void (*cleanup)()) { gCleanup = cleanup; }

}  // namespace platform
