#pragma once
// The launcher's picture: 91 × 269 pixels at 24 bits, drawn by the program itself.

#include <cstdint>
#include <vector>

inline constexpr int LAUNCHER_BITMAP_WIDTH = 91;
inline constexpr int LAUNCHER_BITMAP_HEIGHT = 269;

// RGB bytes, rows top first: a dusk gradient with a wave field and the name in block letters.
std::vector<uint8_t> LauncherBitmapPixels();
