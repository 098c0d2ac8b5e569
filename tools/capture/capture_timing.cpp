#include "tools/capture/capture_timing.h"

int64_t FrameCountForMusic(int64_t musicSamples, uint32_t sampleRate, uint32_t fps) {
  if (sampleRate == 0 || musicSamples <= 0) return 0;
  return (musicSamples * fps + sampleRate - 1) / sampleRate;
}

int64_t FirstSampleOfFrame(int64_t frame, uint32_t sampleRate, uint32_t fps) {
  return fps == 0 ? 0 : frame * sampleRate / fps;
}

int64_t FirstFrameFromMs(uint64_t ms, uint32_t fps) {
  return static_cast<int64_t>((ms * fps + 999) / 1000);
}
