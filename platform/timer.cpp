#include "platform/timer.h"

#include <SDL2/SDL.h>

namespace platform {

uint32_t TimeGetTime() { return static_cast<uint32_t>(SDL_GetTicks64()); }

uint64_t QueryCounter() { return SDL_GetPerformanceCounter(); }

uint64_t CounterFrequency() { return SDL_GetPerformanceFrequency(); }

}  // namespace platform
