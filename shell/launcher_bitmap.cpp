#include "shell/launcher_bitmap.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int GLYPH_WIDTH = 5;
constexpr int GLYPH_HEIGHT = 7;
constexpr int GLYPH_SCALE = 3;
constexpr int LETTER_GAP = 6;
constexpr char NAME[] = "TORVANE";

// 5 × 7 block letters, one row per byte, the top bit of five first.
struct Glyph {
  char letter;
  uint8_t rows[GLYPH_HEIGHT];
};

constexpr Glyph GLYPHS[] = {
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}}, {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
};

const Glyph* FindGlyph(char letter) {
  for (const Glyph& glyph : GLYPHS) {
    if (glyph.letter == letter) return &glyph;
  }
  return nullptr;
}

uint8_t Channel(double value) { return static_cast<uint8_t>(std::clamp(value, 0.0, 255.0)); }

void PutPixel(std::vector<uint8_t>& pixels, int x, int y, uint8_t r, uint8_t g, uint8_t b) {
  size_t at = (static_cast<size_t>(y) * LAUNCHER_BITMAP_WIDTH + static_cast<size_t>(x)) * 3;
  pixels[at] = r;
  pixels[at + 1] = g;
  pixels[at + 2] = b;
}

void PaintBackground(std::vector<uint8_t>& pixels) {
  for (int y = 0; y < LAUNCHER_BITMAP_HEIGHT; ++y) {
    double t = static_cast<double>(y) / (LAUNCHER_BITMAP_HEIGHT - 1);
    for (int x = 0; x < LAUNCHER_BITMAP_WIDTH; ++x) {
      double wave = std::sin(x * 0.21 + std::sin(y * 0.045) * 3.0) * std::cos(y * 0.11 - x * 0.05);
      double glow = 40.0 * std::max(0.0, wave);
      PutPixel(pixels, x, y, Channel(18 + 120 * t + glow * 0.6), Channel(22 + 40 * t + glow * 0.3),
               Channel(70 + 60 * (1.0 - t) + glow));
    }
  }
}

void PaintName(std::vector<uint8_t>& pixels) {
  const int letterCount = static_cast<int>(sizeof(NAME) - 1);
  const int letterHeight = GLYPH_HEIGHT * GLYPH_SCALE;
  const int totalHeight = letterCount * letterHeight + (letterCount - 1) * LETTER_GAP;
  const int left = (LAUNCHER_BITMAP_WIDTH - GLYPH_WIDTH * GLYPH_SCALE) / 2;
  int top = (LAUNCHER_BITMAP_HEIGHT - totalHeight) / 2;
  for (int i = 0; i < letterCount; ++i, top += letterHeight + LETTER_GAP) {
    const Glyph* glyph = FindGlyph(NAME[i]);
    for (int row = 0; row < letterHeight; ++row) {
      uint8_t bits = glyph->rows[row / GLYPH_SCALE];
      for (int column = 0; column < GLYPH_WIDTH * GLYPH_SCALE; ++column) {
        if (bits & (0x10 >> (column / GLYPH_SCALE))) PutPixel(pixels, left + column, top + row, 250, 236, 200);
      }
    }
  }
}

}  // namespace

std::vector<uint8_t> LauncherBitmapPixels() {
  std::vector<uint8_t> pixels(static_cast<size_t>(LAUNCHER_BITMAP_WIDTH) * LAUNCHER_BITMAP_HEIGHT * 3);
  PaintBackground(pixels);
  PaintName(pixels);
  return pixels;
}
