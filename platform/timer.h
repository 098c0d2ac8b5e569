#pragma once
// Clocks: the millisecond timer and the high-resolution counter.

#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start, wrapping at 2^32 like the system's multimedia timer.
uint32_t TimeGetTime();

uint64_t QueryCounter();
uint64_t CounterFrequency();

}  // namespace platform
