#pragma once
// Every line of text the showcase shows besides its title, rasterised into one picture (the text
// atlas), and where each line sits in it. The text model gives each line a panel of its own with
// these texture coordinates.

#include <string>
#include <vector>

#include "content/showcase/generators/image_writers.h"

class FontRasterizer;

struct TextLine {
  std::string id;    // the panel's name in the text model
  std::string text;  // ASCII
  int pixelSize;
  bool monospace;
};

struct TextPlacement {
  std::string id;
  int x, y, width, height;  // in atlas pixels
};

struct TextAtlas {
  Rgba8Image image;
  std::vector<TextPlacement> placements;  // in the order of the lines
};

const std::vector<TextLine>& ShowcaseTextLines();

// The caption line shown at the start of a section, by the section's name.
std::string CaptionId(const std::string& sectionName);

// Lays the lines out one under the other in a picture width pixels wide (the height follows, a
// power of two) and draws them in white.
TextAtlas BuildTextAtlas(const std::vector<TextLine>& lines, FontRasterizer& sans, FontRasterizer& mono, int width);
