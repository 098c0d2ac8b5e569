#include "tests/support/png_reading.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

bool ReadInto(png_structp png, png_infop info, std::FILE* file, DecodedPng& out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_read_info(png, info);
  out.width = static_cast<int>(png_get_image_width(png, info));
  out.height = static_cast<int>(png_get_image_height(png, info));
  out.colorType = png_get_color_type(png, info);
  out.bitDepth = png_get_bit_depth(png, info);
  if (out.colorType != PNG_COLOR_TYPE_RGB_ALPHA || out.bitDepth != 8) return false;
  out.rgba.resize(static_cast<size_t>(out.width) * out.height * 4);
  std::vector<png_bytep> rows(static_cast<size_t>(out.height));
  for (int y = 0; y < out.height; ++y) rows[static_cast<size_t>(y)] = out.rgba.data() + static_cast<size_t>(y) * out.width * 4;
  png_read_image(png, rows.data());
  png_read_end(png, info);
  png_textp text = nullptr;
  int count = png_get_text(png, info, &text, nullptr);
  for (int i = 0; i < count; ++i) out.text[text[i].key] = text[i].text;
  return true;
}

}  // namespace

DecodedPng ReadPngFile(const std::string& path) {
  DecodedPng out;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return out;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  out.ok = ReadInto(png, info, file, out);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return out;
}

int LargestDifference(const DecodedPng& a, const DecodedPng& b) {
  if (!a.ok || !b.ok || a.width != b.width || a.height != b.height) return 256;
  int largest = 0;
  for (size_t i = 0; i < a.rgba.size(); ++i) largest = std::max(largest, std::abs(a.rgba[i] - b.rgba[i]));
  return largest;
}
