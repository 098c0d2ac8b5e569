#pragma once

#include "render/image_data.h"

// The picture decoder behind "bmp", "jpg", "jpeg" and "gif": recognises BMP, JPEG or GIF by the
// file's own signature (not its name) and gives RGBA8, top row first, where pure blue
// (0, 0, 255) is the transparent colour (alpha 0, all else 255), except that a 32-bit BMP takes
// its alpha from the file.
bool DecodePicture(const uint8_t* data, size_t size, ImageData& out);
