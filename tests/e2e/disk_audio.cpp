#include "tests/e2e/disk_audio.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/audio_mixer.h"

namespace {

constexpr size_t BYTES_PER_FRAME = platform::AUDIO_DEVICE_CHANNELS * sizeof(int16_t);

bool FrameReaches(const std::vector<int16_t>& samples, size_t frame, int threshold) {
  return std::abs(samples[frame * 2]) >= threshold || std::abs(samples[frame * 2 + 1]) >= threshold;
}

}  // namespace

double DiskAudio::Seconds() const { return static_cast<double>(FrameCount()) / platform::AUDIO_DEVICE_RATE; }

size_t DiskAudio::FirstAudibleFrame(int threshold) const {
  for (size_t frame = 0; frame < FrameCount(); ++frame) {
    if (FrameReaches(samples, frame, threshold)) return frame;
  }
  return 0;
}

size_t DiskAudio::EndOfAudibleFrames(int threshold) const {
  for (size_t frame = FrameCount(); frame > 0; --frame) {
    if (FrameReaches(samples, frame - 1, threshold)) return frame;
  }
  return 0;
}

double DiskAudio::Loudness(size_t firstFrame, size_t frameCount) const {
  size_t end = std::min(FrameCount(), firstFrame + frameCount);
  if (firstFrame >= end) return 0.0;
  double sum = 0.0;
  for (size_t i = firstFrame * 2; i < end * 2; ++i) sum += static_cast<double>(samples[i]) * samples[i];
  return std::sqrt(sum / static_cast<double>((end - firstFrame) * 2));
}

DiskAudio ReadDiskAudio(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  DiskAudio audio;
  size_t frames = DiskAudioFrames(bytes.size());
  audio.samples.resize(frames * platform::AUDIO_DEVICE_CHANNELS);
  for (size_t i = 0; i < audio.samples.size(); ++i) {
    auto low = static_cast<uint8_t>(bytes[i * 2]);
    auto high = static_cast<uint8_t>(bytes[i * 2 + 1]);
    audio.samples[i] = static_cast<int16_t>(static_cast<uint16_t>(low | high << 8));
  }
  return audio;
}

size_t DiskAudioFrames(size_t bytes) { return bytes / BYTES_PER_FRAME; }

size_t SecondsToFrames(double seconds) { return static_cast<size_t>(seconds * platform::AUDIO_DEVICE_RATE); }
