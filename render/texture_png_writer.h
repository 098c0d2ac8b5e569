#pragma once
// PNG encoding of 8-bit RGBA pictures, for writing textures and screen captures to disk.

#include <cstdint>
#include <vector>

// Small: the library's default compression, for files kept and shipped. Fast: the quickest
// compression, about a third larger, for frames written as fast as they are composed.
enum class PngCompression { Small, Fast };

// Encodes width × height pixels of 4 bytes, rows packed top row first, as a non-interlaced PNG
// (8 bits per channel, RGB with alpha, significant bits 8) carrying one uncompressed text chunk
// "Description" = description. Empty on failure or for an empty picture.
std::vector<uint8_t> EncodeRgbaPng(const uint8_t* pixels, int width, int height, const char* description,
                                   PngCompression compression = PngCompression::Small);
