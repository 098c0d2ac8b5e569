#pragma once
// The pause that gives a big screen (a projector switching mode) time to settle before the demo
// starts: events are pumped meanwhile, and Escape or a quit calls the start off.

#include <cstdint>

// Pumps events for durationMs. False as soon as an Escape character or a quit arrives; other
// events are translated and dispatched as usual.
bool WaitForBigScreen(uint32_t durationMs);
