#pragma once
// The 16-bit scalars of the model cache: the upper half of an IEEE-754 single.

#include <cstdint>
#include <cstring>

inline float H16ToFloat(uint16_t value) {
  uint32_t bits = static_cast<uint32_t>(value) << 16;
  float result;
  std::memcpy(&result, &bits, sizeof result);
  return result;
}

// Rounds to the nearest 16-bit value (ties to even); NaN stays NaN.
inline uint16_t FloatToH16(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  if ((bits & 0x7F800000) == 0x7F800000 && (bits & 0x007FFFFF) != 0) return static_cast<uint16_t>(bits >> 16 | 0x40);
  bits += 0x7FFF + (bits >> 16 & 1);
  return static_cast<uint16_t>(bits >> 16);
}
