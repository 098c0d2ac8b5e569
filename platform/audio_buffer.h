#pragma once
// A secondary sound buffer: a ring of PCM bytes in its own format that the mixer plays once or
// looping, converted to the device format while mixing. Every call is safe from any thread.

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

struct AudioFormat {
  uint16_t channels = 0;
  uint32_t samplesPerSecond = 0;
  uint16_t bitsPerSample = 0;
  uint16_t blockAlign = 0;
};

// Volume in hundredths of a decibel.
inline constexpr int32_t AUDIO_VOLUME_FULL = 0;
inline constexpr int32_t AUDIO_VOLUME_SILENT = -10000;

enum class AudioLock { Locked, Lost, Failed };

struct AudioVoice;

class AudioBuffer {
 public:
  // A silent buffer of bytes in format; null when the format or the size is not supported
  // (1 or 2 channels of 8- or 16-bit PCM at 100 to 200000 Hz, at least 4 bytes).
  static std::unique_ptr<AudioBuffer> Create(const AudioFormat& format, uint32_t bytes);
  static bool SupportsFormat(const AudioFormat& format);
  ~AudioBuffer();
  AudioBuffer(const AudioBuffer&) = delete;
  AudioBuffer& operator=(const AudioBuffer&) = delete;

  uint32_t Size() const { return mSize; }

  // Hands out bytes writable bytes in *region; Unlock copies them in at offset, wrapping at the
  // end of the buffer. Lost when the buffer must be restored first.
  AudioLock Lock(uint32_t offset, uint32_t bytes, uint8_t** region);
  void Unlock();
  // Brings a lost buffer back, reopening the device if it went away.
  bool Restore();
  // What a device loss does to every buffer: Lock reports Lost until Restore.
  void MarkLost();

  // Plays from the current position; without looping it stops at the end of the buffer.
  void Play(bool looping);
  void Stop();
  // Lets the buffer play on and stops it as the play cursor next reaches bytes (the frame there
  // is not played). Stop and SetPlayPosition cancel it; Play keeps it, so the end of a sound can be
  // set before it starts.
  void StopAt(uint32_t bytes);
  bool IsPlaying() const;
  // The play cursor in bytes: it advances by what the device has consumed.
  uint32_t PlayPosition() const;
  // Moves the cursor and restarts the count of played frames.
  void SetPlayPosition(uint32_t bytes);
  // Whole frames the cursor has advanced since it was last set, counting every wrap of a looping
  // buffer: with the start position, where a stream is in its sound.
  uint64_t PlayedFrames() const;
  // Plays the buffer's frames at samplesPerSecond instead of its own rate (pitch and speed change
  // together); 0 goes back to its own rate. Clamped to the supported rates.
  void SetFrequency(uint32_t samplesPerSecond);
  // 0 is full volume, -10000 silence; the value is clamped into that range.
  void SetVolume(int32_t hundredthsOfDecibel);
  int32_t Volume() const;

 private:
  AudioBuffer(std::unique_ptr<AudioVoice> voice, uint32_t size);

  std::unique_ptr<AudioVoice> mVoice;
  uint32_t mSize;
  std::vector<uint8_t> mStaging;
  uint32_t mStagingOffset = 0;
  bool mLocked = false;
};

}  // namespace platform
