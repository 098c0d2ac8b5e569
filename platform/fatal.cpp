#include "platform/fatal.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>


#include "platform/message_box.h"

namespace platform {

namespace {

std::atomic<bool> gBoxesShown = true;
void (*gFatalExitCleanup)() = nullptr;

}  // namespace

void SetFatalExitCleanup(void (*cleanup)()) { gFatalExitCleanup = cleanup; }

void FatalAppExit(const char* text) {
  WriteFatalText(text);
  ExitWithFatalBox(text);
}

void WriteFatalText(const char* text) {
  std::fputs(text, stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

void ExitWithFatalBox(const char* text) {
  if (gFatalExitCleanup) gFatalExitCleanup();
  std::fflush(stderr);
  if (gBoxesShown) ShowMessageBox("", text, MessageBoxIcon::Error);
  std::_Exit(FATAL_EXIT_STATUS);
}

void SetFatalBoxesShown(bool shown) { gBoxesShown = shown; }

}  // namespace platform
