#include "content/showcase/generators/environment.h"

#include <algorithm>
#include <cmath>

#include "content/showcase/generators/noise.h"

namespace {

constexpr double PI = 3.141592653589793;
constexpr double STAR_GRID = 120.0;       // star cells per unit of direction
constexpr double STAR_CHANCE = 0.03;      // share of cells holding a star
constexpr double STAR_RADIUS = 0.004;     // in direction units, about a quarter of a degree
constexpr uint32_t STAR_SEED = 0x51a7u;
constexpr uint32_t CLOUD_SEED = 0xc10du;
constexpr int CLOUD_PERIOD = 12;          // cloud cells around the horizon

const Vec3 ZENITH{0.035, 0.055, 0.16};
const Vec3 HORIZON{1.25, 0.52, 0.26};
const Vec3 SUN_GLOW{3.2, 1.5, 0.55};
const Vec3 GROUND{0.018, 0.016, 0.022};
const Vec3 CLOUD_SHADE{0.16, 0.09, 0.16};

Vec3 Mix(Vec3 a, Vec3 b, double t) { return a + (b - a) * t; }

double StarLight(Vec3 direction) {
  Vec3 cell{std::floor(direction.x * STAR_GRID), std::floor(direction.y * STAR_GRID), std::floor(direction.z * STAR_GRID)};
  double light = 0.0;
  for (int dz = -1; dz <= 1; ++dz) {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        int32_t x = static_cast<int32_t>(cell.x) + dx, y = static_cast<int32_t>(cell.y) + dy, z = static_cast<int32_t>(cell.z) + dz;
        uint32_t h = Hash(x, y, Hash(static_cast<uint32_t>(z) ^ STAR_SEED));
        if (h % 10000u >= static_cast<uint32_t>(STAR_CHANCE * 10000.0)) continue;
        Vec3 jitter{(Hash(h) % 1000u) / 1000.0, (Hash(h + 1u) % 1000u) / 1000.0, (Hash(h + 2u) % 1000u) / 1000.0};
        Vec3 star = Normalize(Vec3{x + jitter.x, y + jitter.y, z + jitter.z} * (1.0 / STAR_GRID));
        double distance = Length(star - direction);
        double brightness = 0.25 + 1.6 * std::pow((Hash(h + 3u) % 1000u) / 1000.0, 6.0);
        light += brightness * std::exp(-(distance * distance) / (STAR_RADIUS * STAR_RADIUS));
      }
    }
  }
  return light;
}

// Cloud cover in a band just above the horizon, 0 to 1.
double CloudCover(Vec3 direction) {
  double elevation = std::asin(std::clamp(direction.y, -1.0, 1.0));
  double band = SmoothStep(0.02, 0.08, elevation) * (1.0 - SmoothStep(0.16, 0.32, elevation));
  if (band <= 0.0) return 0.0;
  double azimuth = std::atan2(direction.x, -direction.z) / (2.0 * PI) + 0.5;
  double shape = FractalNoise(azimuth * CLOUD_PERIOD, elevation * 40.0, CLOUD_SEED, 5, 0.55, CLOUD_PERIOD);
  return band * SmoothStep(0.05, 0.45, shape);
}

uint8_t ToByte(double linear, double exposure) {
  double mapped = 1.0 - std::exp(-linear * exposure);
  return static_cast<uint8_t>(std::lround(std::pow(std::clamp(mapped, 0.0, 1.0), 1.0 / 2.2) * 255.0));
}

// The direction that texel (i, j) of a cube face of side texels shows, as the GL cube map maps it.
Vec3 CubeDirection(int face, int i, int j, int side) {
  double s = 2.0 * (i + 0.5) / side - 1.0;
  double t = 2.0 * (j + 0.5) / side - 1.0;
  switch (face) {
    case 0: return Normalize({1.0, -t, -s});
    case 1: return Normalize({-1.0, -t, s});
    case 2: return Normalize({s, 1.0, t});
    case 3: return Normalize({s, -1.0, -t});
    case 4: return Normalize({s, -t, 1.0});
    default: return Normalize({-s, -t, -1.0});
  }
}

}  // namespace

Vec3 SunDirection() { return Normalize({0.42, 0.085, -0.9}); }

Vec3 SkyRadiance(Vec3 direction) {
  double height = direction.y;
  double towardsSun = std::max(0.0, Dot(direction, SunDirection()));
  double horizonWeight = std::pow(1.0 - std::clamp(height, 0.0, 1.0), 5.0);
  Vec3 sky = Mix(ZENITH, HORIZON * (0.35 + 0.65 * std::pow(towardsSun, 2.0)), horizonWeight);
  sky = sky + SUN_GLOW * (0.25 * std::pow(towardsSun, 8.0) + 1.2 * std::pow(towardsSun, 90.0));
  if (towardsSun > std::cos(0.7 * PI / 180.0)) sky = sky + Vec3{60.0, 42.0, 26.0};
  sky = sky + Vec3{0.9, 0.95, 1.1} * (StarLight(direction) * SmoothStep(0.05, 0.4, height));
  double cover = CloudCover(direction);
  if (cover > 0.0) {
    Vec3 lit = SUN_GLOW * (0.12 + 1.4 * std::pow(towardsSun, 6.0)) + CLOUD_SHADE;
    sky = Mix(sky, lit, cover * 0.85);
  }
  double below = SmoothStep(0.0, -0.06, height);
  return Mix(sky, GROUND + HORIZON * (0.08 * std::pow(1.0 + height, 40.0)), below);
}

RadianceImage SkyPicture(int width, int height) {
  RadianceImage image(width, height);
  for (int y = 0; y < height; ++y) {
    double theta = (y + 0.5) / height * PI;
    for (int x = 0; x < width; ++x) {
      double phi = ((x + 0.5) / width - 0.5) * 2.0 * PI;
      Vec3 direction{std::sin(phi) * std::sin(theta), std::cos(theta), -std::cos(phi) * std::sin(theta)};
      Vec3 radiance = SkyRadiance(direction);
      float* pixel = image.At(x, y);
      pixel[0] = static_cast<float>(radiance.x);
      pixel[1] = static_cast<float>(radiance.y);
      pixel[2] = static_cast<float>(radiance.z);
    }
  }
  return image;
}

std::array<Rgba8Image, 6> SkyCubeFaces(int side, double exposure) {
  std::array<Rgba8Image, 6> faces;
  for (int face = 0; face < 6; ++face) {
    faces[face] = Rgba8Image(side, side);
    for (int j = 0; j < side; ++j) {
      for (int i = 0; i < side; ++i) {
        Vec3 radiance = SkyRadiance(CubeDirection(face, i, j, side));
        uint8_t* pixel = faces[face].At(i, j);
        pixel[0] = ToByte(radiance.x, exposure);
        pixel[1] = ToByte(radiance.y, exposure);
        pixel[2] = ToByte(radiance.z, exposure);
        pixel[3] = 255;
      }
    }
  }
  return faces;
}
