#pragma once

#include "render/image_data.h"

// Decodes a Radiance picture ("#?RADIANCE", "FORMAT=32-bit_rle_rgbe") with its run-length
// scanlines into R, G, B, E bytes (no conversion to floating point; effects decode RGBE). The
// texture is X wide and Y high; scanlines along X fill rows 0, 1, 2, ... in file order, and
// scanlines along Y (X named first) fill columns 0, 1, 2, ... from the top.
bool DecodeHdr(const uint8_t* data, size_t size, ImageData& out);
