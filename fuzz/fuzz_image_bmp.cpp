// Feeds arbitrary bytes to the picture decoder, whose own BMP reader is the part most at risk;
// data that starts "BM" reaches it.
#include "render/image/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ImageData image;
  DecodePicture(data, size, image);
  return 0;
}
