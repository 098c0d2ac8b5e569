#include "platform/fatal.h"

#include <cstdio>
#include <cstdlib>

#include <SDL2/SDL.h>

#include "platform/message_box.h"

namespace platform {

namespace {

void (*gFatalExitCleanup)() = nullptr;

}  // namespace

void SetFatalExitCleanup(void (*cleanup)()) { gFatalExitCleanup = cleanup; }

void FatalAppExit(const char* text) {
  if (gFatalExitCleanup) gFatalExitCleanup();
  std::fputs(text, stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
  if (DisplayAvailable()) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "", text, nullptr);
  std::_Exit(FATAL_EXIT_STATUS);
}

}  // namespace platform
