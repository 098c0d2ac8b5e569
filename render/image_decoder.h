#pragma once
// Which image files the texture resource takes, and which decoder reads each.

#include <string>

#include "render/image_data.h"

using ImageDecoder = bool (*)(const uint8_t* data, size_t size, ImageData& out);

// True when extension is, ignoring case, one of "bmp", "jpg", "jpeg", "dds", "hdr", "tga", "png".
bool ImageCanLoad(const std::string& extension);

// The decoder for extension: "bmp", "jpg", "jpeg" and "gif" ignoring case pick the picture
// decoder; "hdr", "dds", "tga" and "png" must match exactly. Null when none matches.
ImageDecoder ImageDecoderFor(const std::string& extension);
