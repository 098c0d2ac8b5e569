#pragma once

#include "render/image_data.h"

// Decodes a PNG into RGBA8, top row first: palettes and grey expand to RGB, 16-bit channels are
// stripped to 8, alpha comes from the image or its transparency chunk and is 255 otherwise.
// Any libpng error refuses the image; nothing is leaked.
bool DecodePng(const uint8_t* data, size_t size, ImageData& out);
