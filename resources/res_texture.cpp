#include "resources/res_texture.h"

#include <string>
#include <vector>

#include "core/log.h"
#include "files/core_file_stream.h"
#include "render/image/decoders.h"
#include "render/image_texture.h"
#include "render/texture.h"

CORE_IMPLEMENT_DYNAMIC(resTexture, resourceObject)

resTexture::~resTexture() { Unload(); }

bool resTexture::CanLoad(CoreFileStream& stream) { return ImageCanLoad(stream.GetExtension()); }

namespace {

// The texture of the stream's image, or null with failure saying why.
cTexture* DecodeTexture(CoreFileStream& stream, std::string& failure) {
  ImageDecoder decode = ImageDecoderFor(stream.GetExtension());
  if (!decode) {
    failure = "no image decoder reads \"." + stream.GetExtension() + "\" files (the name's case matters)";
    return nullptr;
  }
  std::vector<uint8_t> bytes(stream.GetSize());
  if (stream.Read(bytes.data(), bytes.size()) != bytes.size()) {
    failure = "the entry could not be read whole";
    return nullptr;
  }
  ImageData image;
  ClearImageRefusal();
  if (!decode(bytes.data(), bytes.size(), image)) {
    const std::string& reason = ImageRefusal();
    failure = "the image does not decode: " + (reason.empty() ? std::string("the decoder refused it") : reason);
    return nullptr;
  }
  cTexture* texture = CreateImageTexture(image);
  if (!texture) failure = "a texture of " + std::to_string(image.width) + " x " + std::to_string(image.height) + " could not be created";
  return texture;
}

}  // namespace

bool resTexture::Load(CoreFileStream& stream) {
  resourceObject::Load(stream);
  std::string failure;
  mTexture = DecodeTexture(stream, failure);
  return mTexture ? true : FailLoad(failure);
}

bool resTexture::Refresh(CoreFileStream& stream) {
  std::string failure;
  cTexture* fresh = DecodeTexture(stream, failure);
  if (!fresh) {
    Log(LogLevel::Error, "texture", "%s does not decode (%s); the picture loaded before stays", GetPath().c_str(), failure.c_str());
    return false;
  }
  delete mTexture;
  mTexture = fresh;
  return true;
}

bool resTexture::Unload() {
  delete mTexture;
  mTexture = nullptr;
  return true;
}
