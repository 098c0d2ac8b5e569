#include "dev/panel_layout.h"

#include <algorithm>

namespace {

float Clamped(float value, float least, float most) { return std::max(least, std::min(value, most)); }

}  // namespace

DevPanelLayout LayOutDevPanels(int windowWidth, int windowHeight) {
  const float width = static_cast<float>(std::max(windowWidth, 1));
  const float height = static_cast<float>(std::max(windowHeight, 1));
  const float side = Clamped(width * 0.28f, 300.0f, 480.0f);
  const float left = std::max(0.0f, width - side);
  const float timeline = Clamped(height * 0.3f, 180.0f, 300.0f);
  const float top = std::max(0.0f, height - timeline);
  const float tracks = Clamped(left * 0.35f, 260.0f, 440.0f);
  const float stacked = height / 4.0f;

  DevPanelLayout layout;
  layout.picture = {0.0f, 0.0f, std::max(0.0f, left - tracks), top};
  layout.tracks = {layout.picture.width, 0.0f, std::min(tracks, left), top};
  layout.timeline = {0.0f, top, left, height - top};
  layout.postEffects = {left, 0.0f, side, stacked};
  layout.buffers = {left, stacked, side, stacked};
  layout.stats = {left, 2.0f * stacked, side, stacked};
  layout.log = {left, 3.0f * stacked, side, height - 3.0f * stacked};
  return layout;
}

bool PanelsOverlap(const PanelRect& a, const PanelRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}
