#include "content/showcase/generators/text_atlas.h"

#include <algorithm>

#include "content/showcase/generators/text_raster.h"

namespace {

constexpr int MARGIN = 8;  // empty pixels around each line, so that filtering never bleeds

}  // namespace

const std::vector<TextLine>& ShowcaseTextLines() {
  static const std::vector<TextLine> LINES = {
      {"subtitle", "a real-time demo, generated from source", 44, false},
      {"caption_intro", "title - FreeType text on 64 keyed panels - HDR sky", 30, true},
      {"caption_tunnel", "tunnel - BMP lattice - bloom through work buffers", 30, true},
      {"caption_knot", "glass - DDS cube map - depth of field from line depth", 30, true},
      {"caption_city", "city at dusk - JPEG terrain - fog from line depth", 30, true},
      {"caption_swarm", "swarm - CSceneTdf_swarm draws 1200 copies", 30, true},
      {"caption_breakdown", "breakdown - chromatic aberration - glitch", 30, true},
      {"caption_finale", "finale - three scene lines at once", 30, true},
      {"credits_title", "TORVANE", 96, false},
      {"credits_1", "engine, tools and music synthesiser", 44, false},
      {"credits_2", "every model, texture, scene and note", 44, false},
      {"credits_3", "generated from source by the build", 44, false},
      {"credits_4", "type: DejaVu fonts", 36, true},
      {"credits_5", "thanks for watching", 52, false},
  };
  return LINES;
}

std::string CaptionId(const std::string& sectionName) { return "caption_" + sectionName; }

TextAtlas BuildTextAtlas(const std::vector<TextLine>& lines, FontRasterizer& sans, FontRasterizer& mono, int width) {
  TextAtlas atlas;
  int y = 0;
  for (const TextLine& line : lines) {
    FontRasterizer& font = line.monospace ? mono : sans;
    int lineHeight = line.pixelSize * 5 / 4 + 2 * MARGIN;
    int lineWidth = std::min(width, font.Measure(line.text, line.pixelSize) + 2 * MARGIN);
    atlas.placements.push_back({line.id, 0, y, lineWidth, lineHeight});
    y += lineHeight;
  }
  int height = 1;
  while (height < y) height *= 2;
  atlas.image = Rgba8Image(width, height);
  // White everywhere, so that filtering at glyph edges blends towards white, not black.
  for (size_t i = 0; i < atlas.image.pixels.size(); i += 4) std::fill_n(&atlas.image.pixels[i], 3, uint8_t{255});
  for (size_t i = 0; i < lines.size(); ++i) {
    const TextLine& line = lines[i];
    const TextPlacement& place = atlas.placements[i];
    FontRasterizer& font = line.monospace ? mono : sans;
    int baseline = place.y + MARGIN + font.Ascender(line.pixelSize);
    font.Draw(atlas.image, place.x + MARGIN, baseline, line.text, line.pixelSize, {255, 255, 255});
  }
  return atlas;
}
