// Feeds arbitrary bytes to the GIF decoder.
#include "render/image/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ImageData image;
  DecodeGif(data, size, image);
  return 0;
}
