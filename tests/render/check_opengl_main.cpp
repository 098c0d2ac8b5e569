// Runs the renderer's OpenGL probe the way the system manager does and reports the outcome:
// "OpenGL 2.0 found" and status 0, or the fatal message and status 1.
#include <cstdio>

#include "render/renderer_manager.h"

int main() {
  gRendererManager.CheckOpenGL();
  std::puts("OpenGL 2.0 found");
  return 0;
}
