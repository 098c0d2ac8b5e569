#pragma once
// The software mixer behind every buffer. The device's callback pulls from it; a mode without
// an audio device (capturing to a file) can pull the same sound itself.

#include <cstdint>

namespace platform {

inline constexpr uint32_t AUDIO_DEVICE_RATE = 44100;
inline constexpr uint32_t AUDIO_DEVICE_CHANNELS = 2;

// Mixes every playing buffer into frames of interleaved 16-bit stereo at AUDIO_DEVICE_RATE and
// advances each play cursor by exactly what was mixed.
void MixAudioBuffers(int16_t* out, uint32_t frames);

}  // namespace platform
