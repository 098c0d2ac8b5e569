#pragma once
// The yardstick of frame cost: one full-screen pass that copies a 16-bit float RGBA texture into a
// 16-bit float RGBA target of the same size, in plain GL on the current context. Frame costs
// divided by it are "full-screen-pass equivalents", comparable across sizes and machines.

struct CopyPassCost {
  double wallMs = 0;  // elapsed time per pass
  double cpuMs = 0;   // CPU time of the whole process per pass: what a software rasterizer spends
};

// The cost of one copy pass at width × height, timed over enough passes to be steady; the GL
// objects it makes are deleted again. Needs a current GL 2 context with framebuffer objects.
CopyPassCost MeasureCopyPass(int width, int height);

// CPU time of the whole process (every thread) so far, in milliseconds.
double ProcessCpuMilliseconds();
