#pragma once
// Titles and credits as pictures: text rasterised with FreeType from a font file into the alpha of
// an image (coverage), the colour set where glyphs cover.

#include <array>
#include <string>

#include "content/showcase/generators/image_writers.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

class FontRasterizer {
 public:
  FontRasterizer() = default;
  ~FontRasterizer();
  FontRasterizer(const FontRasterizer&) = delete;
  FontRasterizer& operator=(const FontRasterizer&) = delete;

  // Opens the font file; false with error set when FreeType cannot read it.
  bool Open(const std::string& path, std::string& error);
  // The width in pixels of text at pixelSize (advances and kerning).
  int Measure(const std::string& text, int pixelSize);
  // Draws text with its pen starting at x on the baseline y. Coverage goes into alpha (the larger
  // of old and new), colour into red, green and blue where anything is covered. ASCII only.
  void Draw(Rgba8Image& image, int x, int baseline, const std::string& text, int pixelSize, std::array<uint8_t, 3> colour);
  // Distance from the baseline up to the tallest glyph's top at pixelSize.
  int Ascender(int pixelSize);

 private:
  // The pen's shift between two glyphs (26.6 fixed point), 0 without a previous glyph.
  long Kerning(unsigned previous, unsigned glyph);

  FT_LibraryRec_* mLibrary = nullptr;
  FT_FaceRec_* mFace = nullptr;
};
