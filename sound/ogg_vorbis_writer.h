#pragma once
// Encodes 16-bit PCM as an Ogg Vorbis stream: music for test productions, tests and benchmarks.

#include <cstddef>
#include <cstdint>
#include <vector>

// Interleaved samples of frames frames; quality from -0.1 to 1.0 (0.4 is about 128 kbit/s).
bool EncodeOggVorbis(const int16_t* samples, size_t frames, int channels, int samplesPerSecond, float quality,
                     std::vector<uint8_t>& out);
