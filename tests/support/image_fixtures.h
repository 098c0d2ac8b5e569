#pragma once
// Shared helpers of the image decoder tests: fixture files and pixel access.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "render/image/image_data.h"

// Bytes of tests/data/readers/images/NAME.
std::vector<uint8_t> ImageFixture(const std::string& name);

// RGBA (or RGB) bytes of pixel (x, y) of a decoded 2D image, y counted from row 0.
std::array<int, 4> PixelAt(const ImageData& image, int x, int y);

// The colour the fixtures were drawn with: (x * 50, y * 100, 255 - x * 40).
std::array<int, 3> FixtureColor(int x, int y);
