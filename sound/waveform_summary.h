#pragma once
// The music's waveform in outline, for drawing it beside a timeline: the lowest and highest
// sample of every bucket of WAVEFORM_BUCKET_FRAMES frames, over all channels, scaled to -1..1.
// Built from PCM blocks in playing order as a decoder delivers them; any span of frames is then
// answered from the buckets it touches, so that a long piece costs a few numbers a second.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/wave_format.h"

inline constexpr uint32_t WAVEFORM_BUCKET_FRAMES = 256;

struct WaveformPeak {
  float low = 0.0f;
  float high = 0.0f;
};

class WaveformSummary {
 public:
  // Starts an empty summary of PCM in format; false (and nothing will be added) unless it is 8-
  // or 16-bit PCM with at least one channel.
  bool Start(const WaveFormat& format);
  // Adds the next bytes of PCM; a frame cut by the end of a block is completed by the next.
  void Add(const uint8_t* pcm, size_t bytes);

  uint32_t SampleRate() const { return mFormat.samplesPerSecond; }
  // Whole frames added so far.
  uint64_t Frames() const { return mFrames; }
  // The largest magnitude of any sample added so far, 0 to 1.
  float Loudest() const { return mLoudest; }
  // The peak of frames [first, end), widened to the buckets they touch; zero for a span that
  // holds no frame added so far.
  WaveformPeak PeakOf(uint64_t first, uint64_t end) const;

 private:
  float SampleAt(const uint8_t* bytes) const;
  void AddFrame(const uint8_t* frame);

  WaveFormat mFormat;
  std::vector<WaveformPeak> mBuckets;
  std::vector<uint8_t> mPartialFrame;  // the bytes of a frame that a block cut
  uint64_t mFrames = 0;
  float mLoudest = 0.0f;
};
