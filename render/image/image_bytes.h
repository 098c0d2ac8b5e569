#pragma once
// Little-endian field access for the image decoders. Callers check the bounds first.

#include <cstdint>

inline uint16_t LoadU16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }

inline uint32_t LoadU32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16 |
         static_cast<uint32_t>(at[3]) << 24;
}

inline int32_t LoadI32(const uint8_t* at) { return static_cast<int32_t>(LoadU32(at)); }
