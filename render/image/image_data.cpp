#include "render/image/image_data.h"

int BytesPerPixel(const ImageData& image) { return image.internalFormat == GL_RGB8 ? 3 : 4; }

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
