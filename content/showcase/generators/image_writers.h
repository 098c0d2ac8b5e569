#pragma once
// Writers of the six image formats the engine reads. Each takes pixels top row first, as the
// engine's decoders give them back, and returns the file's bytes (empty when it cannot encode).

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// 8-bit red, green, blue, alpha.
struct Rgba8Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // width * height * 4

  Rgba8Image() = default;
  Rgba8Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 4, 0) {}
  uint8_t* At(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
  const uint8_t* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
};

// Linear radiance, three floats a pixel.
struct RadianceImage {
  int width = 0;
  int height = 0;
  std::vector<float> pixels;  // width * height * 3

  RadianceImage() = default;
  RadianceImage(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 3, 0.0f) {}
  float* At(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 3]; }
};

std::vector<uint8_t> WritePng(const Rgba8Image& image);
// Baseline JPEG of the colour (alpha is dropped) at quality 1 to 100.
std::vector<uint8_t> WriteJpeg(const Rgba8Image& image, int quality);
// A 24-bit bitmap. Pixels with alpha below 128 are written pure blue (0, 0, 255), the colour the
// engine reads as transparent; opaque pixels that are pure blue are nudged off it.
std::vector<uint8_t> WriteBmpWithBlueKey(const Rgba8Image& image);
// A run-length encoded 32-bit TGA (type 10), rows stored top row first.
std::vector<uint8_t> WriteTgaRle(const Rgba8Image& image);
// A Radiance picture with run-length encoded RGBE scanlines, "-Y height +X width".
std::vector<uint8_t> WriteHdrRle(const RadianceImage& image);
// A DDS DXT1 cube map of six square faces in the order +X, -X, +Y, -Y, +Z, -Z, one level each,
// compressed with libsquish.
std::vector<uint8_t> WriteDdsCube(const std::array<Rgba8Image, 6>& faces);

// The RGBE bytes of one linear colour (the shared exponent form Radiance pictures store).
std::array<uint8_t, 4> ToRgbe(const float* rgb);
