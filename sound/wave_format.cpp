#include "sound/wave_format.h"

#include <cstring>

WaveFormat ParseWaveFormat(const uint8_t* bytes, size_t count) {
  uint8_t record[WAVE_FORMAT_RECORD_SIZE] = {};
  std::memcpy(record, bytes, count < WAVE_FORMAT_RECORD_SIZE ? count : WAVE_FORMAT_RECORD_SIZE);
  auto u16 = [&](size_t at) { return static_cast<uint16_t>(record[at] | (record[at + 1] << 8)); };
  auto u32 = [&](size_t at) { return static_cast<uint32_t>(u16(at) | (static_cast<uint32_t>(u16(at + 2)) << 16)); };
  WaveFormat format;
  format.formatTag = u16(0);
  format.channels = u16(2);
  format.samplesPerSecond = u32(4);
  format.averageBytesPerSecond = u32(8);
  format.blockAlign = u16(12);
  format.bitsPerSample = u16(14);
  format.extraSize = u16(16);
  return format;
}

WaveFormat Pcm16Format(uint16_t channels, uint32_t samplesPerSecond) {
  WaveFormat format;
  format.formatTag = WAVE_FORMAT_PCM;
  format.channels = channels;
  format.samplesPerSecond = samplesPerSecond;
  format.bitsPerSample = 16;
  format.blockAlign = static_cast<uint16_t>(channels * 2);
  format.averageBytesPerSecond = format.blockAlign * samplesPerSecond;
  return format;
}

bool WaveFormatUsable(const WaveFormat& format) {
  return format.channels != 0 && format.samplesPerSecond != 0 && format.averageBytesPerSecond != 0 &&
         format.blockAlign != 0 && format.bitsPerSample != 0;
}

uint8_t SilenceByte(const WaveFormat& format) { return format.bitsPerSample == 8 ? 128 : 0; }
