#include "tools/capture/wave_file.h"

namespace {

constexpr uint64_t HEADER_BYTES = 44;
constexpr uint64_t MAX_RIFF_BYTES = 0xFFFFFFFFull;

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void Put16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

std::vector<uint8_t> EncodeWave(const int16_t* samples, int64_t count, int channels, uint32_t sampleRate) {
  if (count < 0 || channels <= 0) return {};
  uint64_t dataBytes = static_cast<uint64_t>(count) * static_cast<uint64_t>(channels) * 2;
  if (dataBytes + HEADER_BYTES - 8 > MAX_RIFF_BYTES) return {};
  std::vector<uint8_t> out;
  out.reserve(HEADER_BYTES + dataBytes);
  PutTag(out, "RIFF");
  Put32(out, static_cast<uint32_t>(dataBytes + HEADER_BYTES - 8));
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, static_cast<uint16_t>(channels));
  Put32(out, sampleRate);
  Put32(out, sampleRate * static_cast<uint32_t>(channels) * 2);
  Put16(out, static_cast<uint16_t>(channels * 2));
  Put16(out, 16);
  PutTag(out, "data");
  Put32(out, static_cast<uint32_t>(dataBytes));
  for (uint64_t i = 0; i < dataBytes / 2; ++i) Put16(out, static_cast<uint16_t>(samples[i]));
  return out;
}
