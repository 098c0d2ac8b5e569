#pragma once
// The rectangle of a 16:9 picture inside the display aspect, in the unit square of the screen pass.

struct ScreenRect {
  float x0, y0, x1, y1;
};

constexpr ScreenRect FULL_SCREEN_RECT = {0.0f, 0.0f, 1.0f, 1.0f};

// Bars left and right for displays wider than 16:9, above and below for narrower ones. A zero or
// negative aspect term gives the whole screen rather than a division by zero.
ScreenRect LetterboxRect(int aspectWidth, int aspectHeight);
