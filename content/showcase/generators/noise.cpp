#include "content/showcase/generators/noise.h"

#include <cmath>

uint32_t Hash(uint32_t value) {
  value ^= value >> 16;
  value *= 0x7feb352du;
  value ^= value >> 15;
  value *= 0x846ca68bu;
  value ^= value >> 16;
  return value;
}

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
  return Hash(static_cast<uint32_t>(x) * 0x8da6b343u ^ Hash(static_cast<uint32_t>(y) * 0xd8163841u ^ seed));
}

uint32_t Random::NextInt() {
  mState ^= mState >> 12;
  mState ^= mState << 25;
  mState ^= mState >> 27;
  return static_cast<uint32_t>((mState * 0x2545F4914F6CDD1Dull) >> 32);
}

double Random::Next() { return NextInt() / 4294967296.0; }

double SmoothStep(double edge0, double edge1, double x) {
  double t = Clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3.0 - 2.0 * t);
}

double Clamp01(double x) { return x < 0.0 ? 0.0 : x > 1.0 ? 1.0 : x; }

namespace {

double Lattice(int32_t x, int32_t y, uint32_t seed, int period) {
  if (period > 0) {
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
  }
  return Hash(x, y, seed) / 2147483647.5 - 1.0;
}

double Fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

}  // namespace

double ValueNoise(double x, double y, uint32_t seed, int period) {
  double fx = std::floor(x), fy = std::floor(y);
  int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  double u = Fade(x - fx), v = Fade(y - fy);
  double a = Lattice(ix, iy, seed, period), b = Lattice(ix + 1, iy, seed, period);
  double c = Lattice(ix, iy + 1, seed, period), d = Lattice(ix + 1, iy + 1, seed, period);
  return (a + (b - a) * u) + ((c + (d - c) * u) - (a + (b - a) * u)) * v;
}

double FractalNoise(double x, double y, uint32_t seed, int octaves, double gain, int period) {
  double sum = 0.0, amplitude = 1.0, norm = 0.0;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * ValueNoise(x, y, seed + static_cast<uint32_t>(i) * 101u, period);
    norm += amplitude;
    amplitude *= gain;
    x *= 2.0;
    y *= 2.0;
    if (period > 0) period *= 2;
  }
  return sum / norm;
}

double RidgedNoise(double x, double y, uint32_t seed, int octaves) {
  double sum = 0.0, amplitude = 1.0, norm = 0.0;
  for (int i = 0; i < octaves; ++i) {
    double ridge = 1.0 - std::abs(ValueNoise(x, y, seed + static_cast<uint32_t>(i) * 977u));
    sum += amplitude * ridge * ridge;
    norm += amplitude;
    amplitude *= 0.5;
    x *= 2.0;
    y *= 2.0;
  }
  return sum / norm;
}
