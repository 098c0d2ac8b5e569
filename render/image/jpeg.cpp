#include "render/image/decoders.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace {

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  bool truncated;
};

// libjpeg's words become the refusal.
[[noreturn]] void OnJpegError(j_common_ptr info) {
  char message[JMSG_LENGTH_MAX] = {};
  info->err->format_message(info, message);
  RefuseImage(std::string("libjpeg: ") + message);
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}
// libjpeg pads data that ends early and only warns; a picture cut short is refused instead.
void OnJpegMessage(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) reinterpret_cast<JpegError*>(info->err)->truncated = true;
}

// libjpeg reports corrupt data by longjmp; everything with a destructor lives in the caller.
struct JpegDecode {
  jpeg_decompress_struct info;
  JpegError error;
  std::vector<uint8_t> row;
};

// Adobe writes CMYK inverted, which is what every CMYK JPEG in practice is.
void CmykToRgba(const uint8_t* cmyk, uint8_t* rgba, int width) {
  for (int x = 0; x < width; ++x, cmyk += 4, rgba += 4) {
    int k = cmyk[3];
    rgba[0] = static_cast<uint8_t>(cmyk[0] * k / 255);
    rgba[1] = static_cast<uint8_t>(cmyk[1] * k / 255);
    rgba[2] = static_cast<uint8_t>(cmyk[2] * k / 255);
  }
}

bool ReadJpeg(JpegDecode& state, const uint8_t* data, size_t size, ImageData& out) {
  if (setjmp(state.error.jump)) return false;
  jpeg_mem_src(&state.info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&state.info, TRUE);
  if (!ImageSizeAcceptable(state.info.image_width, state.info.image_height)) return RefuseImage("its size is 0 or too large");
  bool cmyk = state.info.jpeg_color_space == JCS_CMYK || state.info.jpeg_color_space == JCS_YCCK;
  state.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
  jpeg_start_decompress(&state.info);
  int width = static_cast<int>(state.info.output_width);
  int height = static_cast<int>(state.info.output_height);
  out.width = width;
  out.height = height;
  out.pixels.assign(static_cast<size_t>(width) * height * 4, 255);
  state.row.resize(static_cast<size_t>(width) * state.info.output_components);
  while (state.info.output_scanline < state.info.output_height) {
    uint8_t* target = out.pixels.data() + static_cast<size_t>(state.info.output_scanline) * width * 4;
    JSAMPROW rows[1] = {cmyk ? state.row.data() : target};
    jpeg_read_scanlines(&state.info, rows, 1);
    if (cmyk) CmykToRgba(state.row.data(), target, width);
  }
  jpeg_finish_decompress(&state.info);
  return !state.error.truncated || RefuseImage("its data is cut short");
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, ImageData& out) {
  out = ImageData{};
  if (size < 2 || data[0] != 0xFF || data[1] != 0xD8) return RefuseImage("it does not begin with a JPEG start marker");
  JpegDecode state;
  state.info.err = jpeg_std_error(&state.error.manager);
  state.error.manager.error_exit = OnJpegError;
  state.error.manager.emit_message = OnJpegMessage;
  state.error.truncated = false;
  jpeg_create_decompress(&state.info);
  bool ok = ReadJpeg(state, data, size, out);
  jpeg_destroy_decompress(&state.info);
  if (!ok) out = ImageData{};
  return ok;
}
