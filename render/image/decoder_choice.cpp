#include "render/image/decoders.h"

#include <strings.h>


namespace {

bool EqualsIgnoringCase(const std::string& text, const char* wanted) { return strcasecmp(text.c_str(), wanted) == 0; }

}  // namespace

bool ImageCanLoad(const std::string& extension) {
  for (const char* accepted : {"bmp", "jpg", "jpeg", "dds", "hdr", "tga", "png"}) {
    if (EqualsIgnoringCase(extension, accepted)) return true;
  }
  return false;
}

ImageDecoder ImageDecoderFor(const std::string& extension) {
  for (const char* picture : {"bmp", "jpg", "jpeg", "gif"}) {
    if (EqualsIgnoringCase(extension, picture)) return DecodePicture;
  }
  if (extension == "hdr") return DecodeHdr;
  if (extension == "dds") return DecodeDds;
  if (extension == "tga") return DecodeTga;
  if (extension == "png") return DecodePng;
  return nullptr;
}
