#include "content/showcase/generators/landscape.h"

#include <cmath>

#include "content/showcase/generators/noise.h"

namespace {

constexpr uint32_t TERRAIN_SEED = 0x7e44u;
constexpr uint32_t CITY_SEED = 0xc17eu;
constexpr double MOUNTAIN_HEIGHT = 22.0;
constexpr double STREET_PITCH = 3.0;  // a block and its street
constexpr double BLOCK_SIZE = 2.2;
constexpr double CITY_RADIUS = 31.0;

}  // namespace

double TerrainHeight(double x, double z) {
  double r = std::sqrt(x * x + z * z);
  double rise = SmoothStep(BASIN_RADIUS, BASIN_RADIUS + 26.0, r);
  double ridges = RidgedNoise(x * 0.035, z * 0.035, TERRAIN_SEED, 5);
  double swell = 0.5 + 0.5 * FractalNoise(x * 0.015, z * 0.015, TERRAIN_SEED + 7u, 3);
  double ground = 0.25 * FractalNoise(x * 0.2, z * 0.2, TERRAIN_SEED + 13u, 2) * SmoothStep(BASIN_RADIUS - 4.0, BASIN_RADIUS + 4.0, r);
  return rise * MOUNTAIN_HEIGHT * (0.35 + 0.65 * ridges) * (0.6 + 0.8 * swell) + ground;
}

const std::vector<CityBlock>& CityBlocks() {
  static const std::vector<CityBlock> blocks = [] {
    std::vector<CityBlock> out;
    int cells = static_cast<int>(CITY_RADIUS / STREET_PITCH);
    for (int j = -cells; j <= cells; ++j) {
      for (int i = -cells; i <= cells; ++i) {
        double cx = i * STREET_PITCH, cz = j * STREET_PITCH;
        double r = std::sqrt(cx * cx + cz * cz);
        uint32_t h = Hash(i, j, CITY_SEED);
        // Avenues along both axes through the centre, a round plaza, a ragged edge.
        if (i == 0 || j == 0 || r < 5.0 || r > CITY_RADIUS - (h % 7u)) continue;
        if (h % 11u == 0) continue;
        double centre = std::exp(-(r * r) / (14.0 * 14.0));
        double height = 0.8 + (1.5 + 13.0 * centre) * (0.3 + 0.7 * ((h >> 8) % 1000u) / 1000.0);
        double half = BLOCK_SIZE * 0.5 * (0.8 + 0.2 * ((h >> 4) % 5u) / 4.0);
        out.push_back({{cx - half, 0.0, cz - half}, {cx + half, height, cz + half}, 0});
        if (height > 6.0 && (h >> 12) % 3u != 0) {
          double inset = half * 0.6;
          double top = height + 1.0 + 3.0 * centre * ((h >> 16) % 100u) / 100.0;
          out.push_back({{cx - inset, height, cz - inset}, {cx + inset, top, cz + inset}, 1});
          if ((h >> 20) % 2u == 0) out.push_back({{cx - 0.05, top, cz - 0.05}, {cx + 0.05, top + 2.0, cz + 0.05}, 2});
        }
      }
    }
    return out;
  }();
  return blocks;
}
