#pragma once

#include "render/image_data.h"

// Decodes a JPEG (baseline or progressive; grey, YCbCr, RGB, CMYK or YCCK) into RGBA8, top row
// first, alpha 255. Corrupt data refuses the image; nothing is leaked.
bool DecodeJpeg(const uint8_t* data, size_t size, ImageData& out);
