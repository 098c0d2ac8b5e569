#pragma once
// The image decoders: pure readers, bytes in and pixels out, one per file format. The texture
// resource picks one by file extension and uploads what it gives.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/image/image_data.h"

// ---- Choosing a decoder ----
// Which image files the texture resource takes, and which decoder reads each.
using ImageDecoder = bool (*)(const uint8_t* data, size_t size, ImageData& out);

// True when extension is, ignoring case, one of "bmp", "jpg", "jpeg", "dds", "hdr", "tga", "png".
bool ImageCanLoad(const std::string& extension);

// The decoder for extension: "bmp", "jpg", "jpeg" and "gif" ignoring case pick the picture
// decoder; "hdr", "dds", "tga" and "png" must match exactly. Null when none matches.
ImageDecoder ImageDecoderFor(const std::string& extension);

// ---- BMP, JPEG and GIF ----
// The picture decoder behind "bmp", "jpg", "jpeg" and "gif": recognises BMP, JPEG or GIF by the
// file's own signature (not its name) and gives RGBA8, top row first, where pure blue
// (0, 0, 255) is the transparent colour (alpha 0, all else 255), except that a 32-bit BMP takes
// its alpha from the file.
bool DecodePicture(const uint8_t* data, size_t size, ImageData& out);

// Decodes a Windows or OS/2 bitmap into RGBA8, top row first: 1, 4 and 8 bits with a palette,
// RLE8 and RLE4, 16 and 32 bits with or without bit-field masks, 24 bits. A 32-bit bitmap takes
// its alpha from the file (its alpha mask, else each pixel's fourth byte) and sets fileAlpha;
// every other depth gives alpha 255. Pixels that run-length data skips are black.
bool DecodeBmp(const uint8_t* data, size_t size, ImageData& out, bool& fileAlpha);

// Decodes a JPEG (baseline or progressive; grey, YCbCr, RGB, CMYK or YCCK) into RGBA8, top row
// first, alpha 255. Corrupt data refuses the image; nothing is leaked.
bool DecodeJpeg(const uint8_t* data, size_t size, ImageData& out);

// Decodes the first frame of a GIF into RGBA8 over its whole logical screen, top row first,
// alpha 255. Pixels the frame does not cover and the frame's transparent pixels are black, as
// when the picture is drawn onto a cleared bitmap.
bool DecodeGif(const uint8_t* data, size_t size, ImageData& out);

// ---- PNG ----
// Decodes a PNG into RGBA8, top row first: palettes and grey expand to RGB, 16-bit channels are
// stripped to 8, alpha comes from the image or its transparency chunk and is 255 otherwise.
// Any libpng error refuses the image; nothing is leaked.
bool DecodePng(const uint8_t* data, size_t size, ImageData& out);

// ---- Radiance HDR ----
// Decodes a Radiance picture ("#?RADIANCE", "FORMAT=32-bit_rle_rgbe") with its run-length
// scanlines into R, G, B, E bytes (no conversion to floating point; effects decode RGBE). The
// texture is X wide and Y high; scanlines along X fill rows 0, 1, 2, ... in file order, and
// scanlines along Y (X named first) fill columns 0, 1, 2, ... from the top.
bool DecodeHdr(const uint8_t* data, size_t size, ImageData& out);

// ---- TGA ----
// Decodes a TGA of type 2 (uncompressed) or 10 (run-length) at 24 or 32 bits, with no image
// identifier and no colour map, into RGB8 or RGBA8. Rows stay in file order (the first stored
// row is row 0, whatever the origin bits say).
bool DecodeTga(const uint8_t* data, size_t size, ImageData& out);

// ---- DDS cube maps and DXT1 ----
// Size in bytes of a DXT1 cube map's six faces, each with its mip chain: per level
// ((h + 3) / 4) * ((w + 3) / 4) * 8 bytes, halving both sides per level, never below 1.
uint64_t Dxt1CubeSize(uint32_t width, uint32_t height, uint32_t levels);

// Decodes a DDS holding a DXT1 cube map with all six faces: the header must carry the magic,
// size 124, the caps, height, width, pixel format and mipmap count flags, depth 0 or 1 (one slice), a 32-byte
// pixel format with "DXT1" and caps2 0xFE00; the faces follow the 128-byte header face by face,
// each with its levels. The data is kept compressed.
bool DecodeDds(const uint8_t* data, size_t size, ImageData& out);

// DXT1 block decompression, for tools and tests that need to look at a cube map's pixels.

// Bytes of one DXT1 level of width x height: ((h + 3) / 4) * ((w + 3) / 4) * 8.
size_t Dxt1LevelSize(uint32_t width, uint32_t height);

// RGBA8 pixels (top row first) of one DXT1 level; blocks must hold Dxt1LevelSize bytes.
// Transparent texels of the three-colour mode come out black with alpha 0.
std::vector<uint8_t> DecompressDxt1(const uint8_t* blocks, uint32_t width, uint32_t height);
