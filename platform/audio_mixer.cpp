#include "platform/audio_mixer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/audio_voice.h"

namespace platform {

namespace {

// Never destroyed: the device's thread mixes, and the player at exit unregisters, after static
// destruction has begun.
std::vector<AudioVoice*>& Voices() {
  static auto* voices = new std::vector<AudioVoice*>;
  return *voices;
}

struct StereoSample {
  int32_t left;
  int32_t right;
};

int32_t SampleAt(const AudioVoice& voice, uint32_t frame, uint32_t channel) {
  const uint8_t* at = voice.bytes.data() + static_cast<size_t>(frame) * voice.format.blockAlign;
  if (voice.format.bitsPerSample == 8) return (static_cast<int32_t>(at[channel]) - 128) * 256;
  return static_cast<int16_t>(at[channel * 2] | (at[channel * 2 + 1] << 8));
}

StereoSample FrameAt(const AudioVoice& voice, uint32_t frame) {
  int32_t left = SampleAt(voice, frame, 0);
  int32_t right = voice.format.channels == 2 ? SampleAt(voice, frame, 1) : left;
  return {left, right};
}

int32_t Interpolate(int32_t from, int32_t to, uint32_t fraction) {
  return from + static_cast<int32_t>((static_cast<int64_t>(to - from) * fraction) >> 32);
}

// The frame after frame, as the cursor will meet it: the start again when looping.
uint32_t NextFrame(const AudioVoice& voice, uint32_t frame) {
  if (frame + 1 < voice.frames) return frame + 1;
  return voice.looping ? 0 : frame;
}

StereoSample SampleAtCursor(const AudioVoice& voice) {
  uint32_t frame = static_cast<uint32_t>(voice.cursor >> 32);
  uint32_t fraction = static_cast<uint32_t>(voice.cursor);
  StereoSample here = FrameAt(voice, frame);
  if (fraction == 0) return here;
  StereoSample next = FrameAt(voice, NextFrame(voice, frame));
  return {Interpolate(here.left, next.left, fraction), Interpolate(here.right, next.right, fraction)};
}

// Whether moving the cursor from before to after (not yet wrapped) passes mark, in this lap of
// the buffer or, when after runs past the end, at the start of the next.
bool Passes(uint64_t before, uint64_t after, uint64_t mark, uint64_t end) {
  return (mark > before && mark <= after) || (mark + end > before && mark + end <= after);
}

void AdvanceCursor(AudioVoice& voice) {
  uint64_t before = voice.cursor;
  voice.cursor += voice.step;
  voice.played += voice.step;
  uint64_t end = static_cast<uint64_t>(voice.frames) << 32;
  if (voice.stopArmed && Passes(before, voice.cursor, voice.stopCursor, end)) {
    voice.playing = false;
    voice.stopArmed = false;
    voice.cursor = voice.stopCursor;
    return;
  }
  if (voice.cursor < end) return;
  if (voice.looping) {
    voice.cursor %= end;
  } else {
    voice.playing = false;
    voice.cursor = 0;
  }
}

void MixVoice(AudioVoice& voice, int32_t* accumulator, uint32_t frames) {
  for (uint32_t i = 0; i < frames && voice.playing; ++i) {
    StereoSample sample = SampleAtCursor(voice);
    accumulator[2 * i] += static_cast<int32_t>((static_cast<int64_t>(sample.left) * voice.gain) >> 16);
    accumulator[2 * i + 1] += static_cast<int32_t>((static_cast<int64_t>(sample.right) * voice.gain) >> 16);
    AdvanceCursor(voice);
  }
}

int16_t Clamp16(int32_t value) { return static_cast<int16_t>(std::clamp(value, -32768, 32767)); }

}  // namespace

std::mutex& AudioMixerLock() {
  // Never destroyed, like the voice list it guards.
  static auto* lock = new std::mutex;
  return *lock;
}

void RegisterAudioVoice(AudioVoice* voice) {
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  Voices().push_back(voice);
}

void UnregisterAudioVoice(AudioVoice* voice) {
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  std::erase(Voices(), voice);
}

void MarkAllAudioVoicesLost() {
  for (AudioVoice* voice : Voices()) voice->lost = true;
}

int32_t AudioGainForVolume(int32_t hundredthsOfDecibel) {
  if (hundredthsOfDecibel <= AUDIO_VOLUME_SILENT) return 0;
  if (hundredthsOfDecibel >= AUDIO_VOLUME_FULL) return AUDIO_GAIN_UNITY;
  return static_cast<int32_t>(std::lround(AUDIO_GAIN_UNITY * std::pow(10.0, hundredthsOfDecibel / 2000.0)));
}

void MixAudioBuffers(int16_t* out, uint32_t frames) {
  constexpr uint32_t CHUNK_FRAMES = 256;
  int32_t accumulator[CHUNK_FRAMES * AUDIO_DEVICE_CHANNELS];
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  for (uint32_t done = 0; done < frames;) {
    uint32_t count = std::min(CHUNK_FRAMES, frames - done);
    std::fill_n(accumulator, count * AUDIO_DEVICE_CHANNELS, 0);
    for (AudioVoice* voice : Voices()) {
      if (voice->playing) MixVoice(*voice, accumulator, count);
    }
    for (uint32_t i = 0; i < count * AUDIO_DEVICE_CHANNELS; ++i) {
      out[done * AUDIO_DEVICE_CHANNELS + i] = Clamp16(accumulator[i]);
    }
    done += count;
  }
}

}  // namespace platform
