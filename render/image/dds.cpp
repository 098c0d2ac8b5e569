#include "render/image/decoders.h"

#include <cstring>

#include "render/image/image_bytes.h"

namespace {

constexpr size_t DDS_HEADER_SIZE = 128;
constexpr uint32_t DDS_REQUIRED_FLAGS = 0x21007;  // caps, height, width, pixel format, mipmap count
constexpr uint32_t DDS_CUBE_ALL_FACES = 0xFE00;
constexpr uint32_t CUBE_FACES = 6;
// A level count past 32 would describe levels smaller than one pixel on any side.
constexpr uint32_t MAX_LEVELS = 32;
// Depth 1 is one slice, the same as 0; common cube map writers store 1.

bool HeaderAccepted(const uint8_t* data) {
  return std::memcmp(data, "DDS ", 4) == 0 && LoadU32(data + 4) == 124 &&
         (LoadU32(data + 8) & DDS_REQUIRED_FLAGS) == DDS_REQUIRED_FLAGS && LoadU32(data + 24) <= 1 &&
         LoadU32(data + 76) == 32 && std::memcmp(data + 84, "DXT1", 4) == 0 && LoadU32(data + 112) == DDS_CUBE_ALL_FACES;
}

}  // namespace

uint64_t Dxt1CubeSize(uint32_t width, uint32_t height, uint32_t levels) {
  uint64_t size = 0;
  for (uint32_t face = 0; face < CUBE_FACES; ++face) {
    uint32_t w = width, h = height;
    for (uint32_t level = 0; level < levels; ++level) {
      size += Dxt1LevelSize(w, h);
      w = w > 1 ? w / 2 : 1;
      h = h > 1 ? h / 2 : 1;
    }
  }
  return size;
}

bool DecodeDds(const uint8_t* data, size_t size, ImageData& out) {
  out = ImageData{};
  if (size < DDS_HEADER_SIZE || !HeaderAccepted(data)) return RefuseImage("it is not a DXT1 cube map with all six faces");
  uint32_t width = LoadU32(data + 16);
  uint32_t height = LoadU32(data + 12);
  uint32_t levels = LoadU32(data + 28);
  if (!ImageSizeAcceptable(width, height) || levels == 0 || levels > MAX_LEVELS) return RefuseImage("its size or mipmap count is out of range");
  uint64_t dataSize = Dxt1CubeSize(width, height, levels);
  if (dataSize > size - DDS_HEADER_SIZE) return RefuseImage("its faces are cut short");
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.internalFormat = GL_COMPRESSED_RGB_S3TC_DXT1_EXT;
  out.format = 0;
  out.type = 0;
  out.target = GL_TEXTURE_CUBE_MAP;
  out.filter = GL_LINEAR;
  out.wrap = GL_CLAMP_TO_EDGE;
  out.levels = levels;
  out.exactSize = true;
  out.pixels.assign(data + DDS_HEADER_SIZE, data + DDS_HEADER_SIZE + dataSize);
  return true;
}
