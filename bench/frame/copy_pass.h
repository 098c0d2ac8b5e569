#pragma once
// The yardstick of frame cost: one full-screen pass that copies a 16-bit float RGBA texture into a
// 16-bit float RGBA target of the same size, in plain GL on the current context. Frame times
// divided by it are "full-screen-pass equivalents", comparable across sizes and machines.

// Milliseconds per copy pass at width × height, timed over enough passes to be steady; the GL
// objects it makes are deleted again. Needs a current GL 2 context with framebuffer objects.
double CopyPassMilliseconds(int width, int height);
