#pragma once

#include "render/image_data.h"

// Decodes the first frame of a GIF into RGBA8 over its whole logical screen, top row first,
// alpha 255. Pixels the frame does not cover and the frame's transparent pixels are black, as
// when the picture is drawn onto a cleared bitmap.
bool DecodeGif(const uint8_t* data, size_t size, ImageData& out);
