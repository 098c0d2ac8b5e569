#pragma once
// Deterministic noise for the generators: an integer hash, a small random stream, and smooth value
// noise with fractal sums. The same seed gives the same numbers on every machine (integer
// arithmetic and IEEE doubles only).

#include <cstdint>

uint32_t Hash(uint32_t value);
uint32_t Hash(int32_t x, int32_t y, uint32_t seed);

// A random stream (a small multiply-xorshift generator).
class Random {
 public:
  explicit Random(uint64_t seed) : mState(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint32_t NextInt();
  double Next();  // [0, 1)
  double Range(double low, double high) { return low + (high - low) * Next(); }

 private:
  uint64_t mState;
};

// Smooth value noise in [-1, 1]; tileable with period (cells) when period > 0.
double ValueNoise(double x, double y, uint32_t seed, int period = 0);
// A sum of octaves, each at twice the frequency and gain times the amplitude; about [-1, 1].
double FractalNoise(double x, double y, uint32_t seed, int octaves, double gain = 0.5, int period = 0);
// Ridged octaves (sharp crests), in [0, 1].
double RidgedNoise(double x, double y, uint32_t seed, int octaves);

double SmoothStep(double edge0, double edge1, double x);
double Clamp01(double x);
