#pragma once

#include "render/image_data.h"

// Decodes a TGA of type 2 (uncompressed) or 10 (run-length) at 24 or 32 bits, with no image
// identifier and no colour map, into RGB8 or RGBA8. Rows stay in file order (the first stored
// row is row 0, whatever the origin bits say).
bool DecodeTga(const uint8_t* data, size_t size, ImageData& out);
