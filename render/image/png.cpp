#include "render/image/decoders.h"

#include <csetjmp>
#include <cstring>
#include <vector>

#include <png.h>

namespace {

// Deflate expands its input at most about 1032 times, so the file must hold at least this share
// of the image's raw rows; a short file cannot make the decoder allocate a huge picture.
constexpr uint64_t DEFLATE_MAX_RATIO = 1032;
// Metadata chunks are read whole into memory of the size their length field claims, which a
// damaged file sets to gigabytes. No pixel depends on them, so they are skipped unread.
constexpr png_byte SKIPPED_CHUNKS[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0pCAL\0sCAL";
constexpr int SKIPPED_CHUNK_COUNT = sizeof(SKIPPED_CHUNKS) / 5;

struct PngSource {
  const uint8_t* data;
  size_t size;
  size_t position;
};

void ReadFromSource(png_structp png, png_bytep destination, png_size_t count) {
  PngSource* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (count > source->size - source->position) png_error(png, "read past the end of the data");
  std::memcpy(destination, source->data + source->position, count);
  source->position += count;
}

// libpng reports corrupt data by longjmp; the buffers live in the caller so that nothing with a
// destructor belongs to the frame that is jumped back into.
struct PngDecode {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<png_bytep> rows;
  bool hasAlpha = false;
};

void SetUpTransformations(png_structp png, png_infop info, bool& hasAlpha) {
  int bitDepth = png_get_bit_depth(png, info);
  int colorType = png_get_color_type(png, info);
  bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  hasAlpha = hasTransparency || (colorType & PNG_COLOR_MASK_ALPHA) != 0;
  if (hasTransparency) png_set_tRNS_to_alpha(png);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (bitDepth > 8) png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  if (!hasAlpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
}

// Corrupt data ends the read through the jump buffer; libpng's words become the refusal.
[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
  RefuseImage(std::string("libpng: ") + message);
  png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

bool ReadImage(PngDecode& state, PngSource& source, ImageData& out) {
  if (setjmp(png_jmpbuf(state.png))) return false;
  png_set_read_fn(state.png, &source, ReadFromSource);
  png_set_user_limits(state.png, MAX_IMAGE_SIDE, MAX_IMAGE_SIDE);
  png_set_keep_unknown_chunks(state.png, PNG_HANDLE_CHUNK_NEVER, SKIPPED_CHUNKS, SKIPPED_CHUNK_COUNT);
  png_read_info(state.png, state.info);
  uint64_t rawSize = (static_cast<uint64_t>(png_get_rowbytes(state.png, state.info)) + 1) * png_get_image_height(state.png, state.info);
  if (rawSize / DEFLATE_MAX_RATIO > source.size) return RefuseImage("its compressed data is too short for its size");
  SetUpTransformations(state.png, state.info, state.hasAlpha);
  png_read_update_info(state.png, state.info);
  png_uint_32 width = png_get_image_width(state.png, state.info);
  png_uint_32 height = png_get_image_height(state.png, state.info);
  if (!ImageSizeAcceptable(width, height) || png_get_rowbytes(state.png, state.info) != width * 4) return RefuseImage("its size is 0 or too large");
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.pixels.assign(static_cast<size_t>(width) * height * 4, 0);
  state.rows.resize(height);
  for (png_uint_32 row = 0; row < height; ++row) state.rows[row] = out.pixels.data() + static_cast<size_t>(row) * width * 4;
  png_read_image(state.png, state.rows.data());
  png_read_end(state.png, nullptr);
  return true;
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, ImageData& out) {
  out = ImageData{};
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return RefuseImage("it does not begin with the PNG signature");
  PngDecode state;
  state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  if (!state.png) return false;
  state.info = png_create_info_struct(state.png);
  if (!state.info) {
    png_destroy_read_struct(&state.png, nullptr, nullptr);
    return false;
  }
  PngSource source{data, size, 0};
  bool ok = ReadImage(state, source, out);
  png_destroy_read_struct(&state.png, &state.info, nullptr);
  if (!ok) {
    out = ImageData{};
    return false;
  }
  if (!state.hasAlpha) {
    for (size_t at = 3; at < out.pixels.size(); at += 4) out.pixels[at] = 255;
  }
  return true;
}
