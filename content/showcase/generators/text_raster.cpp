#include "content/showcase/generators/text_raster.h"

#include <algorithm>

#include <ft2build.h>
#include FT_FREETYPE_H

FontRasterizer::~FontRasterizer() {
  if (mFace) FT_Done_Face(mFace);
  if (mLibrary) FT_Done_FreeType(mLibrary);
}

bool FontRasterizer::Open(const std::string& path, std::string& error) {
  if (FT_Init_FreeType(&mLibrary) != 0) {
    error = "FreeType does not start";
    return false;
  }
  if (FT_New_Face(mLibrary, path.c_str(), 0, &mFace) != 0) {
    error = "cannot read the font " + path;
    return false;
  }
  return true;
}

long FontRasterizer::Kerning(unsigned previous, unsigned glyph) {
  if (!previous || !FT_HAS_KERNING(mFace)) return 0;
  FT_Vector kerning;
  FT_Get_Kerning(mFace, previous, glyph, FT_KERNING_DEFAULT, &kerning);
  return kerning.x;
}

int FontRasterizer::Ascender(int pixelSize) {
  FT_Set_Pixel_Sizes(mFace, 0, static_cast<FT_UInt>(pixelSize));
  return static_cast<int>(mFace->size->metrics.ascender >> 6);
}

int FontRasterizer::Measure(const std::string& text, int pixelSize) {
  FT_Set_Pixel_Sizes(mFace, 0, static_cast<FT_UInt>(pixelSize));
  long pen = 0;
  FT_UInt previous = 0;
  for (unsigned char c : text) {
    FT_UInt glyph = FT_Get_Char_Index(mFace, c);
    pen += Kerning(previous, glyph);
    if (FT_Load_Glyph(mFace, glyph, FT_LOAD_DEFAULT) == 0) pen += mFace->glyph->advance.x;
    previous = glyph;
  }
  return static_cast<int>(pen >> 6);
}

void FontRasterizer::Draw(Rgba8Image& image, int x, int baseline, const std::string& text, int pixelSize,
                          std::array<uint8_t, 3> colour) {
  FT_Set_Pixel_Sizes(mFace, 0, static_cast<FT_UInt>(pixelSize));
  long pen = static_cast<long>(x) << 6;
  FT_UInt previous = 0;
  for (unsigned char c : text) {
    FT_UInt glyph = FT_Get_Char_Index(mFace, c);
    pen += Kerning(previous, glyph);
    previous = glyph;
    if (FT_Load_Glyph(mFace, glyph, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot slot = mFace->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    int left = static_cast<int>(pen >> 6) + slot->bitmap_left;
    int top = baseline - slot->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      for (unsigned column = 0; column < bitmap.width; ++column) {
        int px = left + static_cast<int>(column), py = top + static_cast<int>(row);
        if (px < 0 || py < 0 || px >= image.width || py >= image.height) continue;
        uint8_t coverage = bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + column];
        if (coverage == 0) continue;
        uint8_t* pixel = image.At(px, py);
        pixel[0] = colour[0];
        pixel[1] = colour[1];
        pixel[2] = colour[2];
        pixel[3] = std::max(pixel[3], coverage);
      }
    }
    pen += slot->advance.x;
  }
}
