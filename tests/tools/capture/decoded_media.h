#pragma once
// A video file decoded whole through FFmpeg, for checking what capture wrote: every picture as
// RGB with its frame number, and the sound as interleaved 16-bit samples with the music sample
// number of the first one.

#include <cstdint>
#include <string>
#include <vector>

struct DecodedPicture {
  int64_t frame = 0;         // timestamp in frames of the stream's rate
  std::vector<uint8_t> rgb;  // top row first
};

struct DecodedMedia {
  std::string videoCodec;
  std::string audioCodec;
  int width = 0;
  int height = 0;
  int fps = 0;
  std::vector<DecodedPicture> pictures;
  int sampleRate = 0;
  int channels = 0;
  int64_t firstSample = 0;  // timestamp of samples[0] in samples
  std::vector<int16_t> samples;

  int64_t SampleCount() const { return channels ? static_cast<int64_t>(samples.size()) / channels : 0; }
};

// False with error set when the file does not decode. fps is the rate frame numbers count in.
bool DecodeMedia(const std::string& path, int fps, DecodedMedia& media, std::string& error);
