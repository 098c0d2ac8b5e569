#include "render/image/image_data.h"

int BytesPerPixel(const ImageData& image) { return image.internalFormat == GL_RGB8 ? 3 : 4; }

bool IsCubeMap(const ImageData& image) { return image.target == GL_TEXTURE_CUBE_MAP; }

std::string ImageParameterName(GLenum value) {
  switch (value) {
    case GL_RGBA8: return "GL_RGBA8";
    case GL_RGB8: return "GL_RGB8";
    case GL_RGBA: return "GL_RGBA";
    case GL_RGB: return "GL_RGB";
    case GL_UNSIGNED_BYTE: return "GL_UNSIGNED_BYTE";
    case GL_TEXTURE_2D: return "GL_TEXTURE_2D";
    case GL_TEXTURE_CUBE_MAP: return "GL_TEXTURE_CUBE_MAP";
    case GL_COMPRESSED_RGB_S3TC_DXT1_EXT: return "GL_COMPRESSED_RGB_S3TC_DXT1_EXT";
    default: return std::to_string(value);
  }
}

bool ImageSizeAcceptable(long long width, long long height) {
  return width > 0 && height > 0 && width <= MAX_IMAGE_SIDE && height <= MAX_IMAGE_SIDE &&
         width * height <= MAX_IMAGE_PIXELS;
}

namespace {

thread_local std::string gImageRefusal;

}  // namespace

const std::string& ImageRefusal() { return gImageRefusal; }

void ClearImageRefusal() { gImageRefusal.clear(); }

bool RefuseImage(std::string reason) {
  gImageRefusal = std::move(reason);
  return false;
}
