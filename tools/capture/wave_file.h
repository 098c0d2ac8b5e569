#pragma once
// A RIFF WAVE file of 16-bit PCM, the music of a capture to a folder.

#include <cstdint>
#include <vector>

// The whole file; empty when count samples per channel do not fit in one (4 GiB).
std::vector<uint8_t> EncodeWave(const int16_t* samples, int64_t count, int channels, uint32_t sampleRate);
