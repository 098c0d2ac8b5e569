#pragma once
// The state of one buffer as the mixer sees it. Shared between the buffer's owner and the
// mixing thread, so every field is read and written under AudioMixerLock().

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/audio_buffer.h"

namespace platform {

// Unity gain in the mixer's 16.16 fixed point.
inline constexpr int32_t AUDIO_GAIN_UNITY = 65536;

struct AudioVoice {
  AudioFormat format;
  std::vector<uint8_t> bytes;
  uint32_t frames = 0;
  uint64_t cursor = 0;  // 32.32 fixed-point frame position
  uint64_t step = 0;    // cursor advance per device frame
  uint64_t played = 0;  // 32.32 fixed-point frames the cursor has advanced since it was last set
  bool playing = false;
  bool looping = false;
  bool lost = false;
  // When set, the voice stops as its cursor reaches stopCursor (32.32, inside the buffer).
  bool stopArmed = false;
  uint64_t stopCursor = 0;
  int32_t volume = AUDIO_VOLUME_FULL;
  int32_t gain = AUDIO_GAIN_UNITY;
};

std::mutex& AudioMixerLock();
// The mixer plays registered voices; both calls take the lock themselves.
void RegisterAudioVoice(AudioVoice* voice);
void UnregisterAudioVoice(AudioVoice* voice);
// Called with the lock held.
void MarkAllAudioVoicesLost();

// Gain for a volume in hundredths of a decibel; exactly unity at 0 and zero at -10000.
int32_t AudioGainForVolume(int32_t hundredthsOfDecibel);

}  // namespace platform
