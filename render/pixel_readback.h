#pragma once
// Reading a picture back from GL.

#include <cstdint>
#include <vector>

// The bound framebuffer's width × height pixels from (0, 0), RGBA, rows top first (GL gives them
// bottom first). Waits for drawing to finish.
std::vector<uint8_t> ReadPixelsTopFirst(int width, int height);
