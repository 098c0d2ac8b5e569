#pragma once
// Where captured frames go, in frame order, from the encoding thread.

#include <cstdint>
#include <string>
#include <vector>

struct CapturedFrame {
  int64_t index = 0;            // frame number in the whole production
  std::vector<uint8_t> pixels;  // RGBA, bottom row first
};

class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // The frame stored as the output's first moment (time 0, the first picture's number); 0 keeps
  // the whole capture's timing. Set before the first frame.
  void SetOrigin(int64_t frame) { mOrigin = frame; }
  // False with error set when the frame cannot be stored; nothing more is written then.
  virtual bool Write(const CapturedFrame& frame, std::string& error) = 0;
  // Completes the output after the last frame. False with error set.
  virtual bool Finish(std::string& error) = 0;

 protected:
  int64_t mOrigin = 0;
};

// The part of the music that goes with frames [first, end) of a capture.
struct SoundSlice {
  const int16_t* samples = nullptr;  // interleaved, from the slice's first sample
  int channels = 0;
  uint32_t sampleRate = 0;
  int64_t firstSample = 0;  // music sample number of samples[0]
  int64_t count = 0;        // samples per channel
};
