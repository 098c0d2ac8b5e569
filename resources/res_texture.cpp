#include "resources/res_texture.h"

#include <string>
#include <vector>

#include "files/core_file_stream.h"
#include "render/image/decoders.h"
#include "render/image_texture.h"
#include "render/texture.h"

CORE_IMPLEMENT_DYNAMIC(resTexture, resourceObject)

resTexture::~resTexture() { Unload(); }

bool resTexture::CanLoad(CoreFileStream& stream) { return ImageCanLoad(stream.GetExtension()); }

bool resTexture::Load(CoreFileStream& stream) {
  resourceObject::Load(stream);
  ImageDecoder decode = ImageDecoderFor(stream.GetExtension());
  if (!decode) return FailLoad("no image decoder reads \"." + stream.GetExtension() + "\" files (the name's case matters)");
  std::vector<uint8_t> bytes(stream.GetSize());
  if (stream.Read(bytes.data(), bytes.size()) != bytes.size()) return FailLoad("the entry could not be read whole");
  ImageData image;
  ClearImageRefusal();
  if (!decode(bytes.data(), bytes.size(), image)) {
    const std::string& reason = ImageRefusal();
    return FailLoad("the image does not decode: " + (reason.empty() ? std::string("the decoder refused it") : reason));
  }
  mTexture = CreateImageTexture(image);
  if (!mTexture) return FailLoad("a texture of " + std::to_string(image.width) + " x " + std::to_string(image.height) + " could not be created");
  return true;
}

bool resTexture::Unload() {
  delete mTexture;
  mTexture = nullptr;
  return true;
}
