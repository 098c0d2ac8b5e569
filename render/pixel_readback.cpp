#include "render/pixel_readback.h"

#include <algorithm>

#include <GL/glew.h>

std::vector<uint8_t> ReadPixelsTopFirst(int width, int height) {
  size_t rowBytes = static_cast<size_t>(width) * 4;
  std::vector<uint8_t> bottomFirst(rowBytes * static_cast<size_t>(height));
  glFinish();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomFirst.data());
  std::vector<uint8_t> pixels(bottomFirst.size());
  for (int row = 0; row < height; ++row) {
    std::copy_n(bottomFirst.data() + (height - 1 - row) * rowBytes, rowBytes, pixels.data() + row * rowBytes);
  }
  return pixels;
}
