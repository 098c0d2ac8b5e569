#pragma once

#include "render/image_data.h"

// Decodes a Windows or OS/2 bitmap into RGBA8, top row first: 1, 4 and 8 bits with a palette,
// RLE8 and RLE4, 16 and 32 bits with or without bit-field masks, 24 bits. A 32-bit bitmap takes
// its alpha from the file (its alpha mask, else each pixel's fourth byte) and sets fileAlpha;
// every other depth gives alpha 255. Pixels that run-length data skips are black.
bool DecodeBmp(const uint8_t* data, size_t size, ImageData& out, bool& fileAlpha);
