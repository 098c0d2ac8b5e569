#pragma once
// The production's music as the player hears it: decoded whole by the player's own decoders and
// held as interleaved 16-bit samples.

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

struct DecodedMusic {
  uint32_t sampleRate = 0;
  int channels = 0;
  std::vector<int16_t> samples;  // interleaved

  // Samples per channel.
  int64_t Length() const { return channels ? static_cast<int64_t>(samples.size()) / channels : 0; }
};

// False with error set when the file is missing, no decoder takes it, it does not decode, or it
// holds sound the player cannot play (anything but 8- or 16-bit PCM in one or two channels).
bool DecodeMusic(const std::string& path, DecodedMusic& music, std::string& error);

}  // namespace tools
