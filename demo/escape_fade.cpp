#include "demo/escape_fade.h"

#include <cmath>

EscapeFadeStep EscapeFade::Step(uint32_t now) {
  if (!mStart) mStart = now;
  float b = 1.0f - static_cast<float>(now - *mStart) / static_cast<float>(ESCAPE_FADE_MS);
  if (b < 0.0f) return {false, -10000, 1.0f};
  float root = b == 0.0f ? 0.0f : std::sqrt(b);
  auto volume = static_cast<int32_t>((root - 1.0f) * 10000.0f);
  return {true, volume, 1.0f - b * b};
}
