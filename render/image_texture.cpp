#include "render/image_texture.h"

#include <cstring>

#include "render/texture.h"
#include "render/texture_manager.h"

void StoredTextureSize(const ImageData& image, int& width, int& height) {
  width = image.width;
  height = image.height;
  if (gTextureManager.IsNonPowerOfTwo()) return;
  width = NextPowerOfTwo(width);
  height = NextPowerOfTwo(height);
}

namespace {

bool CopyPixels(const ImageData& image, cTexture& texture) {
  uint8_t* data = texture.getData();
  if (!data) return false;
  if (image.target == GL_TEXTURE_CUBE_MAP) {
    if (texture.getDataSize() != image.pixels.size()) return false;
    std::memcpy(data, image.pixels.data(), image.pixels.size());
    return true;
  }
  size_t pixelSize = BytesPerPixel(image);
  size_t rowSize = static_cast<size_t>(image.width) * pixelSize;
  size_t pitch = static_cast<size_t>(texture.GetWidth()) * pixelSize;
  if (image.pixels.size() < rowSize * image.height || texture.getDataSize() < pitch * image.height) return false;
  for (int row = 0; row < image.height; ++row) std::memcpy(data + row * pitch, image.pixels.data() + row * rowSize, rowSize);
  return true;
}

}  // namespace

cTexture* CreateImageTexture(const ImageData& image) {
  int width = 0, height = 0;
  StoredTextureSize(image, width, height);
  if (image.exactSize && (width != image.width || height != image.height)) return nullptr;
  cTexture* texture = new cTexture(image.width, image.height, 1, image.internalFormat, image.format, image.type,
                                   image.target, image.filter, image.wrap, image.levels);
  bool copied = CopyPixels(image, *texture);
  if (copied) texture->upload();
  texture->FreeData();
  if (copied) return texture;
  delete texture;
  return nullptr;
}
