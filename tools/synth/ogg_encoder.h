#pragma once
// Ogg Vorbis encoding of 16-bit PCM through libvorbisenc.

#include <cstdint>
#include <string>
#include <vector>

// Encodes interleaved samples at the given rate and channel count with VBR quality (-0.1 to 1)
// into an Ogg Vorbis byte stream. False with error set if the encoder refuses the settings.
bool EncodeOggVorbis(const std::vector<int16_t>& samples, int sampleRate, int channels, float quality,
                     std::vector<uint8_t>& out, std::string& error);
