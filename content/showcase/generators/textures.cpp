#include "content/showcase/generators/textures.h"

#include <algorithm>
#include <cmath>

#include "content/showcase/generators/landscape.h"
#include "content/showcase/generators/noise.h"
#include "content/showcase/generators/text_raster.h"

namespace {

constexpr uint32_t WINDOW_SEED = 0x3141u;
constexpr uint32_t LATTICE_SEED = 0x1a77u;
constexpr uint32_t GROUND_SEED = 0x6e0du;
constexpr uint32_t GRAIN_SEED = 0x96a1u;
constexpr uint32_t METAL_SEED = 0x3e7au;

uint8_t Byte(double value) { return static_cast<uint8_t>(std::lround(Clamp01(value) * 255.0)); }

void SetPixel(Rgba8Image& image, int x, int y, Vec3 colour, double alpha = 1.0) {
  uint8_t* p = image.At(x, y);
  p[0] = Byte(colour.x);
  p[1] = Byte(colour.y);
  p[2] = Byte(colour.z);
  p[3] = Byte(alpha);
}

Vec3 Mix(Vec3 a, Vec3 b, double t) { return a + (b - a) * t; }

}  // namespace

Rgba8Image TitlePicture(FontRasterizer& bold) {
  constexpr int WIDTH = 1024, HEIGHT = 256, SIZE = 200;
  Rgba8Image image(WIDTH, HEIGHT);
  for (size_t i = 0; i < image.pixels.size(); i += 4) std::fill_n(&image.pixels[i], 3, uint8_t{255});
  const std::string title = "TORVANE";
  int width = bold.Measure(title, SIZE);
  int ascender = bold.Ascender(SIZE);
  // Capital letters stand about 0.73 of the ascender high; centre them.
  int capital = ascender * 73 / 100;
  bold.Draw(image, (WIDTH - width) / 2, (HEIGHT + capital) / 2, title, SIZE, {255, 255, 255});
  return image;
}

Rgba8Image WindowsPicture() {
  constexpr int SIDE = 256, WINDOWS = 8, CELL = SIDE / WINDOWS;
  Rgba8Image image(SIDE, SIDE);
  for (int y = 0; y < SIDE; ++y) {
    for (int x = 0; x < SIDE; ++x) {
      int column = x / CELL, row = y / CELL;
      int cx = x % CELL, cy = y % CELL;
      double grit = 0.04 * ValueNoise(x * 0.3, y * 0.3, WINDOW_SEED);
      Vec3 concrete = Vec3{0.30, 0.29, 0.28} + Vec3{grit, grit, grit};
      bool glass = cx >= 5 && cx < CELL - 5 && cy >= 6 && cy < CELL - 4;
      if (!glass) {
        SetPixel(image, x, y, concrete, 0.0);
        continue;
      }
      uint32_t h = Hash(column, row, WINDOW_SEED);
      bool lit = h % 5u < 2u;
      double shade = 0.8 + 0.2 * (cy - 6) / (CELL - 10.0);
      Vec3 dark = Vec3{0.05, 0.07, 0.10} * shade;
      Vec3 warm = Mix(Vec3{1.0, 0.78, 0.45}, Vec3{0.75, 0.85, 1.0}, ((h >> 8) % 100u) / 100.0 < 0.3 ? 1.0 : 0.0);
      SetPixel(image, x, y, lit ? warm * (0.75 + 0.25 * shade) : dark, lit ? 1.0 : 0.0);
    }
  }
  return image;
}

Rgba8Image LatticePicture() {
  constexpr int SIDE = 256;
  constexpr double CELL = SIDE / 4.0;  // four hexagon columns across, tiling
  Rgba8Image image(SIDE, SIDE);
  const double rowStep = CELL * std::sqrt(3.0) / 2.0;
  for (int y = 0; y < SIDE; ++y) {
    for (int x = 0; x < SIDE; ++x) {
      // Nearest centre of a hexagonal grid whose rows are offset by half a cell (tiling in 256).
      double best = 1e9;
      for (int row = -1; row <= 5; ++row) {
        for (int column = -1; column <= 5; ++column) {
          double cx = column * CELL + (row % 2 != 0 ? CELL * 0.5 : 0.0);
          double cy = row * (SIDE / 4.0);
          best = std::min(best, std::hypot(x + 0.5 - cx, (y + 0.5 - cy) * (rowStep / (SIDE / 4.0))));
        }
      }
      double hole = CELL * 0.36;
      double steel = 0.42 + 0.06 * ValueNoise(x * 0.1, y * 0.6, LATTICE_SEED);
      double rim = SmoothStep(hole + 6.0, hole, best);  // brighter edge around each hole
      Vec3 colour = Vec3{steel * 0.9, steel * 0.95, steel * 1.05} + Vec3{0.25, 0.22, 0.18} * rim;
      SetPixel(image, x, y, colour, best < hole ? 0.0 : 1.0);
    }
  }
  return image;
}

Rgba8Image TerrainPicture(int side) {
  Rgba8Image image(side, side);
  double cell = 2.0 * LANDSCAPE_HALF_SIZE / side;
  for (int y = 0; y < side; ++y) {
    double z = -LANDSCAPE_HALF_SIZE + (y + 0.5) * cell;
    for (int x = 0; x < side; ++x) {
      double wx = -LANDSCAPE_HALF_SIZE + (x + 0.5) * cell;
      double height = TerrainHeight(wx, z);
      double slope = std::hypot(TerrainHeight(wx + cell, z) - height, TerrainHeight(wx, z + cell) - height) / cell;
      double detail = FractalNoise(wx * 0.4, z * 0.4, GROUND_SEED, 4);
      double r = std::hypot(wx, z);
      Vec3 grass = Mix(Vec3{0.16, 0.19, 0.09}, Vec3{0.27, 0.24, 0.12}, 0.5 + 0.5 * detail);
      Vec3 rock = Mix(Vec3{0.26, 0.23, 0.22}, Vec3{0.40, 0.36, 0.33}, 0.5 + 0.5 * detail);
      Vec3 colour = Mix(grass, rock, SmoothStep(0.35, 0.8, slope));
      colour = Mix(colour, Vec3{0.88, 0.9, 0.95}, SmoothStep(13.0, 17.0, height + 3.0 * detail));
      // The basin: asphalt, with lighter lines along the streets.
      double streetX = std::abs(std::fmod(std::abs(wx) + 1.5, 3.0) - 1.5);
      double streetZ = std::abs(std::fmod(std::abs(z) + 1.5, 3.0) - 1.5);
      double street = std::max(SmoothStep(1.2, 1.45, streetX), SmoothStep(1.2, 1.45, streetZ));
      Vec3 asphalt = Vec3{0.10, 0.10, 0.11} * (1.0 + 0.15 * detail) + Vec3{0.12, 0.11, 0.09} * street;
      colour = Mix(asphalt, colour, SmoothStep(BASIN_RADIUS - 3.0, BASIN_RADIUS + 3.0, r));
      SetPixel(image, x, y, colour);
    }
  }
  return image;
}

Rgba8Image GrainPicture() {
  constexpr int SIDE = 256;
  Rgba8Image image(SIDE, SIDE);
  Random random(GRAIN_SEED);
  for (uint8_t& value : image.pixels) value = static_cast<uint8_t>(random.NextInt() >> 24);
  return image;
}

Rgba8Image MetalPicture() {
  constexpr int SIDE = 256;
  Rgba8Image image(SIDE, SIDE);
  for (int y = 0; y < SIDE; ++y) {
    for (int x = 0; x < SIDE; ++x) {
      double streak = FractalNoise(x * 0.02, y * 0.9, METAL_SEED, 4, 0.5, 0);
      double spots = ValueNoise(x * 0.08, y * 0.08, METAL_SEED + 5u);
      double grey = 0.55 + 0.12 * streak + 0.05 * spots;
      SetPixel(image, x, y, Vec3{grey * 0.96, grey, grey * 1.04});
    }
  }
  return image;
}

Rgba8Image WhitePicture(int side) {
  Rgba8Image image(side, side);
  std::fill(image.pixels.begin(), image.pixels.end(), uint8_t{255});
  return image;
}
