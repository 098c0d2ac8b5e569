#pragma once
// The wave format record: 18 little-endian bytes at the start of a RIFF 'fmt ' chunk.

#include <cstddef>
#include <cstdint>

inline constexpr size_t WAVE_FORMAT_RECORD_SIZE = 18;
inline constexpr uint16_t WAVE_FORMAT_PCM = 1;
// The record is followed by a sub-format the 18 bytes do not hold.
inline constexpr uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

struct WaveFormat {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSecond = 0;
  uint32_t averageBytesPerSecond = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint16_t extraSize = 0;
};

// Reads at most WAVE_FORMAT_RECORD_SIZE bytes; fields past count stay zero.
WaveFormat ParseWaveFormat(const uint8_t* bytes, size_t count);

// 16-bit PCM in the given layout, as decoders that produce 16-bit words report it.
WaveFormat Pcm16Format(uint16_t channels, uint32_t samplesPerSecond);

// True when every field the player divides or steps by is non-zero.
bool WaveFormatUsable(const WaveFormat& format);

// The byte that sounds as silence: 128 for 8-bit sound, else 0.
uint8_t SilenceByte(const WaveFormat& format);
