#include "demo/letterbox.h"

#include <algorithm>

namespace {

constexpr float SIXTEEN_BY_NINE = 1.7777778f;
constexpr float NINE_BY_SIXTEEN = 0.5625f;

}  // namespace

ScreenRect LetterboxRect(int aspectWidth, int aspectHeight) {
  if (aspectWidth <= 0 || aspectHeight <= 0) return FULL_SCREEN_RECT;
  float aw = static_cast<float>(aspectWidth);
  float ah = static_cast<float>(aspectHeight);
  float lx = std::max(0.0f, (1.0f - (ah / aw) * SIXTEEN_BY_NINE) / 2.0f);
  float ly = std::max(0.0f, (1.0f - (aw / ah) * NINE_BY_SIXTEEN) / 2.0f);
  return {lx, ly, 1.0f - lx, 1.0f - ly};
}
