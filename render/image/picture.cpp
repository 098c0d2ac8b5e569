#include "render/image/decoders.h"

#include <cstring>


namespace {

void ApplyBlueKey(ImageData& image) {
  for (size_t at = 0; at + 3 < image.pixels.size(); at += 4) {
    bool pureBlue = image.pixels[at] == 0 && image.pixels[at + 1] == 0 && image.pixels[at + 2] == 255;
    image.pixels[at + 3] = pureBlue ? 0 : 255;
  }
}

bool DecodeBySignature(const uint8_t* data, size_t size, ImageData& out, bool& fileAlpha) {
  fileAlpha = false;
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return DecodeBmp(data, size, out, fileAlpha);
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xD8) return DecodeJpeg(data, size, out);
  if (size >= 4 && std::memcmp(data, "GIF8", 4) == 0) return DecodeGif(data, size, out);
  out = ImageData{};
  return RefuseImage("its first bytes are those of none of BMP, JPEG and GIF");
}

}  // namespace

bool DecodePicture(const uint8_t* data, size_t size, ImageData& out) {
  bool fileAlpha = false;
  if (!DecodeBySignature(data, size, out, fileAlpha)) return false;
  if (!fileAlpha) ApplyBlueKey(out);
  return true;
}
