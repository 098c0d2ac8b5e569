#pragma once
// Where frames and music samples meet in a capture at F frames per second of music at R samples
// per second: frame n shows demo time FrameTimeMs(n, F) and its sound starts at music sample
// floor(n × R / F). A capture of the whole production ends with the music: it holds every frame
// that starts before the music's last sample has played, ceil(length × F / R) frames.

#include <cstdint>

struct FrameRange {
  int64_t first = 0;
  int64_t end = 0;  // one past the last frame

  int64_t Count() const { return end - first; }
};

int64_t FrameCountForMusic(int64_t musicSamples, uint32_t sampleRate, uint32_t fps);

// The first music sample of frame n.
int64_t FirstSampleOfFrame(int64_t frame, uint32_t sampleRate, uint32_t fps);

// The first frame whose demo time is at least ms.
int64_t FirstFrameFromMs(uint64_t ms, uint32_t fps);
