#include "resources/res_texture.h"

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
  if (!decode) return false;
  std::vector<uint8_t> bytes(stream.GetSize());
  if (stream.Read(bytes.data(), bytes.size()) != bytes.size()) return false;
  ImageData image;
  if (!decode(bytes.data(), bytes.size(), image)) return false;
  mTexture = CreateImageTexture(image);
  return mTexture != nullptr;
}

bool resTexture::Unload() {
  delete mTexture;
  mTexture = nullptr;
  return true;
}
