#include "platform/message_box.h"

#include <cstdio>
#include <cstdlib>

#include <SDL2/SDL.h>

#include "platform/termination_signals.h"

namespace platform {

namespace {

bool EnvironmentNames(const char* variable) {
  const char* value = std::getenv(variable);
  return value && value[0] != '\0';
}

Uint32 SdlFlags(MessageBoxIcon icon) {
  switch (icon) {
    case MessageBoxIcon::Information: return SDL_MESSAGEBOX_INFORMATION;
    case MessageBoxIcon::Warning: return SDL_MESSAGEBOX_WARNING;
    case MessageBoxIcon::Error: return SDL_MESSAGEBOX_ERROR;
  }
  return SDL_MESSAGEBOX_ERROR;
}

}  // namespace

bool DisplayAvailable() { return EnvironmentNames("DISPLAY") || EnvironmentNames("WAYLAND_DISPLAY"); }

// Nothing polls for a termination signal while a box waits, so one then ends the process at once
// (taking the box with it); a process already asked to end shows no box.
void ShowMessageBox(const char* caption, const char* text, MessageBoxIcon icon) {
  if (!DisplayAvailable()) return;
  bool polled = SetTerminationPolled(false);
  if (!TerminationSignal()) {
    SDL_ShowSimpleMessageBox(SdlFlags(icon), caption, text, nullptr);
    EndIfTerminating();
  }
  SetTerminationPolled(polled);
}

}  // namespace platform
