#pragma once

#include "render/image_data.h"

// Size in bytes of a DXT1 cube map's six faces, each with its mip chain: per level
// ((h + 3) / 4) * ((w + 3) / 4) * 8 bytes, halving both sides per level, never below 1.
uint64_t Dxt1CubeSize(uint32_t width, uint32_t height, uint32_t levels);

// Decodes a DDS holding a DXT1 cube map with all six faces: the header must carry the magic,
// size 124, the caps, height, width, pixel format and mipmap count flags, depth 0 or 1 (one slice), a 32-byte
// pixel format with "DXT1" and caps2 0xFE00; the faces follow the 128-byte header face by face,
// each with its levels. The data is kept compressed.
bool DecodeDds(const uint8_t* data, size_t size, ImageData& out);
