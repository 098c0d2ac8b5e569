#pragma once
// Reads PNG files back in tests: pixels top row first and the text chunks.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct DecodedPng {
  bool ok = false;
  int width = 0;
  int height = 0;
  int colorType = -1;
  int bitDepth = 0;
  std::vector<uint8_t> rgba;  // rows top first, 4 bytes per pixel
  std::map<std::string, std::string> text;

  const uint8_t* Pixel(int x, int yFromTop) const { return rgba.data() + (static_cast<size_t>(yFromTop) * width + x) * 4; }
};

DecodedPng ReadPngFile(const std::string& path);

// The largest difference of one byte between two decoded pictures; 256 when either did not
// decode or their sizes differ.
int LargestDifference(const DecodedPng& a, const DecodedPng& b);
