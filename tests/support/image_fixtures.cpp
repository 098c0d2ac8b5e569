#include "tests/support/image_fixtures.h"

#include <fstream>
#include <iterator>

#include "tests/support/test_paths.h"

std::vector<uint8_t> ImageFixture(const std::string& name) {
  std::ifstream in(SourcePath("tests/data/readers/images/" + name), std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::array<int, 4> PixelAt(const ImageData& image, int x, int y) {
  int size = BytesPerPixel(image);
  const uint8_t* p = image.pixels.data() + (static_cast<size_t>(y) * image.width + x) * size;
  return {p[0], p[1], p[2], size == 4 ? p[3] : -1};
}

std::array<int, 3> FixtureColor(int x, int y) { return {x * 50, y * 100, 255 - x * 40}; }
