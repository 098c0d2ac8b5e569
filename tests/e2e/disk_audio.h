#pragma once
// What SDL's disk audio driver wrote: interleaved 16-bit stereo frames at the device rate, one
// buffer after another in real time, silence included.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct DiskAudio {
  std::vector<int16_t> samples;  // interleaved left, right

  size_t FrameCount() const { return samples.size() / 2; }
  double Seconds() const;
  // Frames whose louder channel reaches `threshold`: the first and one past the last; both 0
  // when every frame is quieter.
  size_t FirstAudibleFrame(int threshold) const;
  size_t EndOfAudibleFrames(int threshold) const;
  // Root mean square over frames [first, first + count), clipped to the recording.
  double Loudness(size_t firstFrame, size_t frameCount) const;
};

DiskAudio ReadDiskAudio(const std::string& path);
// The frame count of a recording of `bytes` bytes.
size_t DiskAudioFrames(size_t bytes);
size_t SecondsToFrames(double seconds);
