#include "platform/audio_buffer.h"

#include <algorithm>
#include <cstring>

#include "platform/audio_mixer.h"
#include "platform/audio_output.h"
#include "platform/audio_voice.h"

namespace platform {

namespace {

// The limits a sound card's secondary buffers have always had.
constexpr uint32_t AUDIO_BUFFER_MIN_BYTES = 4;
constexpr uint32_t AUDIO_BUFFER_MAX_BYTES = 0x0FFFFFFF;
constexpr uint32_t AUDIO_RATE_MIN = 100;
constexpr uint32_t AUDIO_RATE_MAX = 200000;

// The cursor's advance per device frame for a buffer played at samplesPerSecond.
uint64_t CursorStep(uint32_t samplesPerSecond) {
  return (static_cast<uint64_t>(samplesPerSecond) << 32) / AUDIO_DEVICE_RATE;
}

}  // namespace

bool AudioBuffer::SupportsFormat(const AudioFormat& format) {
  bool channels = format.channels == 1 || format.channels == 2;
  bool bits = format.bitsPerSample == 8 || format.bitsPerSample == 16;
  bool rate = format.samplesPerSecond >= AUDIO_RATE_MIN && format.samplesPerSecond <= AUDIO_RATE_MAX;
  bool align = format.blockAlign == format.channels * format.bitsPerSample / 8;
  return channels && bits && rate && align;
}

std::unique_ptr<AudioBuffer> AudioBuffer::Create(const AudioFormat& format, uint32_t bytes) {
  bool size = bytes >= AUDIO_BUFFER_MIN_BYTES && bytes <= AUDIO_BUFFER_MAX_BYTES && bytes >= format.blockAlign;
  if (!size || !SupportsFormat(format)) return nullptr;
  auto voice = std::make_unique<AudioVoice>();
  voice->format = format;
  voice->bytes.assign(bytes, format.bitsPerSample == 8 ? 128 : 0);
  voice->frames = bytes / format.blockAlign;
  voice->step = CursorStep(format.samplesPerSecond);
  RegisterAudioVoice(voice.get());
  return std::unique_ptr<AudioBuffer>(new AudioBuffer(std::move(voice), bytes));
}

AudioBuffer::AudioBuffer(std::unique_ptr<AudioVoice> voice, uint32_t size) : mVoice(std::move(voice)), mSize(size) {}

AudioBuffer::~AudioBuffer() { UnregisterAudioVoice(mVoice.get()); }

AudioLock AudioBuffer::Lock(uint32_t offset, uint32_t bytes, uint8_t** region) {
  if (mLocked || offset >= mSize || bytes == 0 || bytes > mSize) return AudioLock::Failed;
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  if (AudioOutputLost()) MarkAllAudioVoicesLost();
  if (mVoice->lost) return AudioLock::Lost;
  mStaging.assign(bytes, 0);
  mStagingOffset = offset;
  mLocked = true;
  *region = mStaging.data();
  return AudioLock::Locked;
}

void AudioBuffer::Unlock() {
  if (!mLocked) return;
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  uint32_t first = std::min<uint32_t>(static_cast<uint32_t>(mStaging.size()), mSize - mStagingOffset);
  std::memcpy(mVoice->bytes.data() + mStagingOffset, mStaging.data(), first);
  std::memcpy(mVoice->bytes.data(), mStaging.data() + first, mStaging.size() - first);
  mLocked = false;
}

bool AudioBuffer::Restore() {
  if (AudioOutputLost() && !ReopenAudioOutput()) return false;
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  mVoice->lost = false;
  return true;
}

void AudioBuffer::MarkLost() {
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  mVoice->lost = true;
}

void AudioBuffer::Play(bool looping) {
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  mVoice->looping = looping;
  mVoice->playing = true;
}

void AudioBuffer::Stop() {
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  mVoice->playing = false;
  mVoice->stopArmed = false;
}

void AudioBuffer::StopAt(uint32_t bytes) {
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  mVoice->stopCursor = static_cast<uint64_t>((bytes % mSize) / mVoice->format.blockAlign) << 32;
  mVoice->stopArmed = true;
}

bool AudioBuffer::IsPlaying() const {
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  return mVoice->playing;
}

uint32_t AudioBuffer::PlayPosition() const {
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  return static_cast<uint32_t>(mVoice->cursor >> 32) * mVoice->format.blockAlign;
}

void AudioBuffer::SetPlayPosition(uint32_t bytes) {
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  uint32_t frame = (bytes % mSize) / mVoice->format.blockAlign;
  mVoice->cursor = static_cast<uint64_t>(std::min(frame, mVoice->frames - 1)) << 32;
  mVoice->stopArmed = false;
  mVoice->played = 0;
}

uint64_t AudioBuffer::PlayedFrames() const {
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  return mVoice->played >> 32;
}

void AudioBuffer::SetFrequency(uint32_t samplesPerSecond) {
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  uint32_t rate = samplesPerSecond == 0 ? mVoice->format.samplesPerSecond
                                        : std::clamp(samplesPerSecond, AUDIO_RATE_MIN, AUDIO_RATE_MAX);
  mVoice->step = CursorStep(rate);
}

void AudioBuffer::SetVolume(int32_t hundredthsOfDecibel) {
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  mVoice->volume = std::clamp(hundredthsOfDecibel, AUDIO_VOLUME_SILENT, AUDIO_VOLUME_FULL);
  mVoice->gain = AudioGainForVolume(mVoice->volume);
}

int32_t AudioBuffer::Volume() const {
  std::lock_guard<std::mutex> guard(AudioMixerLock());
  return mVoice->volume;
}

}  // namespace platform
