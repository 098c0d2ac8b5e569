// Feeds arbitrary bytes to the HDR decoder.
#include "render/image/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ImageData image;
  DecodeHdr(data, size, image);
  return 0;
}
