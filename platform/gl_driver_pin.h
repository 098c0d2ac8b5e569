#pragma once
// Keeps the GL driver's libraries loaded to the end of the process. A driver unloaded before exit
// leaves what it allocated without a library name, and a leak checker could then not tell the
// driver's memory, which it keeps by design, from ours. Called after each context is created.

namespace platform {

void PinGLDriver();

}  // namespace platform
