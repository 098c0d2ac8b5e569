#pragma once
// Draw calls the process issues, counted by wrapping GL's drawing entry points in this program
// (the engine's objects are linked into it, so their calls resolve here first; each wrapper calls
// the driver's own). A display list counts the draws recorded into it each time it is called; a
// glBegin/glEnd pair counts as one draw. Only the benchmark links it: the engine draws unwrapped.

#include <cstdint>

// Draws issued (not those recorded into a display list) since the program started.
uint64_t DrawCallsIssued();
