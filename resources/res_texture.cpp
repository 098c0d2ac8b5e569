#include "resources/res_texture.h"

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

cTexture* DecodeTexture(CoreFileStream& stream) {
  ImageDecoder decode = ImageDecoderFor(stream.GetExtension());
  if (!decode) return nullptr;
  std::vector<uint8_t> bytes(stream.GetSize());
  if (stream.Read(bytes.data(), bytes.size()) != bytes.size()) return nullptr;
  ImageData image;
  if (!decode(bytes.data(), bytes.size(), image)) return nullptr;
  return CreateImageTexture(image);
}

}  // namespace

bool resTexture::Load(CoreFileStream& stream) {
  resourceObject::Load(stream);
  mTexture = DecodeTexture(stream);
  return mTexture != nullptr;
}

bool resTexture::Refresh(CoreFileStream& stream) {
  cTexture* fresh = DecodeTexture(stream);
  if (!fresh) {
    Log(LogLevel::Error, "texture", "%s does not decode; the picture loaded before stays", GetPath().c_str());
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
