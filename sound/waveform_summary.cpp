#include "sound/waveform_summary.h"

#include <algorithm>

bool WaveformSummary::Start(const WaveFormat& format) {
  *this = WaveformSummary();
  const bool pcm = format.bitsPerSample == 8 || format.bitsPerSample == 16;
  if (!pcm || format.channels == 0) return false;
  mFormat = format;
  return true;
}

float WaveformSummary::SampleAt(const uint8_t* bytes) const {
  if (mFormat.bitsPerSample == 8) return (static_cast<float>(bytes[0]) - 128.0f) / 128.0f;
  const int16_t word = static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)));
  return static_cast<float>(word) / 32768.0f;
}

void WaveformSummary::AddFrame(const uint8_t* frame) {
  const size_t sampleBytes = mFormat.bitsPerSample / 8u;
  float low = SampleAt(frame);
  float high = low;
  for (size_t channel = 1; channel < mFormat.channels; ++channel) {
    const float sample = SampleAt(frame + channel * sampleBytes);
    low = std::min(low, sample);
    high = std::max(high, sample);
  }
  mLoudest = std::max({mLoudest, -low, high});
  if (mFrames % WAVEFORM_BUCKET_FRAMES == 0) {
    mBuckets.push_back({low, high});
  } else {
    WaveformPeak& bucket = mBuckets.back();
    bucket.low = std::min(bucket.low, low);
    bucket.high = std::max(bucket.high, high);
  }
  ++mFrames;
}

void WaveformSummary::Add(const uint8_t* pcm, size_t bytes) {
  if (mFormat.channels == 0) return;
  const size_t frameBytes = mFormat.channels * (mFormat.bitsPerSample / 8u);
  if (!mPartialFrame.empty()) {
    const size_t taken = std::min(bytes, frameBytes - mPartialFrame.size());
    mPartialFrame.insert(mPartialFrame.end(), pcm, pcm + taken);
    pcm += taken;
    bytes -= taken;
    if (mPartialFrame.size() < frameBytes) return;
    AddFrame(mPartialFrame.data());
    mPartialFrame.clear();
  }
  for (; bytes >= frameBytes; pcm += frameBytes, bytes -= frameBytes) AddFrame(pcm);
  mPartialFrame.assign(pcm, pcm + bytes);
}

WaveformPeak WaveformSummary::PeakOf(uint64_t first, uint64_t end) const {
  end = std::min(end, mFrames);
  if (first >= end) return {};
  const size_t from = static_cast<size_t>(first / WAVEFORM_BUCKET_FRAMES);
  const size_t to = static_cast<size_t>((end - 1) / WAVEFORM_BUCKET_FRAMES);
  WaveformPeak peak = mBuckets[from];
  for (size_t i = from + 1; i <= to; ++i) {
    peak.low = std::min(peak.low, mBuckets[i].low);
    peak.high = std::max(peak.high, mBuckets[i].high);
  }
  return peak;
}
