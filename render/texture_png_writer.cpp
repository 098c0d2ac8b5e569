#include "render/texture_png_writer.h"

#include <png.h>
#include <zlib.h>

namespace {

void AppendToVector(png_structp png, png_bytep bytes, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), bytes, bytes + length);
}

void FlushNothing(png_structp) {}

// libpng reports errors by longjmp, so this frame holds no object with a destructor.
bool WritePng(png_structp png, png_infop info, png_bytepp rows, int width, int height, const char* description,
              PngCompression compression) {
  if (setjmp(png_jmpbuf(png))) return false;
  if (compression == PngCompression::Fast) {
    // Choosing a filter per row and searching for long matches cost most of the time; rendered
    // frames compress nearly as well with the left-neighbour filter and run-length matches.
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  }
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color_8 significant = {8, 8, 8, 8, 8};
  png_set_sBIT(png, info, &significant);
  png_text text = {};
  text.compression = PNG_TEXT_COMPRESSION_NONE;
  text.key = const_cast<char*>("Description");
  text.text = const_cast<char*>(description);
  png_set_text(png, info, &text, 1);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  return true;
}

}  // namespace

std::vector<uint8_t> EncodeRgbaPng(const uint8_t* pixels, int width, int height, const char* description,
                                   PngCompression compression) {
  std::vector<uint8_t> out;
  if (!pixels || width <= 0 || height <= 0) return out;
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    rows[static_cast<size_t>(y)] = const_cast<png_bytep>(pixels + static_cast<size_t>(y) * static_cast<size_t>(width) * 4);
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool written = false;
  if (info) {
    png_set_write_fn(png, &out, AppendToVector, FlushNothing);
    written = WritePng(png, info, rows.data(), width, height, description, compression);
  }
  png_destroy_write_struct(&png, info ? &info : nullptr);
  if (!written) out.clear();
  return out;
}
