#pragma once
// Demo time: unsigned milliseconds that run only while the music plays. The clock is an interface
// so that video capture can replace the music-driven clock by a fixed step per frame.

#include <cstdint>
#include <functional>

class DemoClock {
 public:
  virtual ~DemoClock() = default;
  // Starts again from 0 (the music has just been restarted).
  virtual void Restart() = 0;
  // Advances the clock and returns the demo time; read once per played frame.
  virtual uint32_t Read() = 0;
};

// Wall-clock milliseconds from the multimedia timer, counted only while the music is playing.
class MusicDemoClock : public DemoClock {
 public:
  MusicDemoClock(std::function<bool()> musicIsPlaying, std::function<uint32_t()> timer);
  void Restart() override;
  uint32_t Read() override;

 private:
  std::function<bool()> mMusicIsPlaying;
  std::function<uint32_t()> mTimer;
  uint32_t mElapsed = 0;
  uint32_t mLastTick = 0;
};

// The demo time of frame n at framesPerSecond: n × 1000 / framesPerSecond milliseconds, rounded
// down, computed in integers so that no frame lands a millisecond early (0 when the rate is 0).
uint32_t FrameTimeMs(uint64_t frame, uint32_t framesPerSecond);

// One frame per reading, for frame-exact capture: the n-th reading after a restart is
// FrameTimeMs(n) (the first is 0).
class FixedStepDemoClock : public DemoClock {
 public:
  explicit FixedStepDemoClock(uint32_t framesPerSecond);
  void Restart() override;
  uint32_t Read() override;

 private:
  uint32_t mFramesPerSecond;
  uint64_t mReadings = 0;
};
