#pragma once
// Demo time: unsigned milliseconds that the timeline is drawn at. Where they come from is a
// strategy over the one music transport (music_transport.h), each in a file of its own:
//   MusicDemoClock      the player: the millisecond timer, counted only while the music plays
//   FixedStepDemoClock  headless rendering and capture: one fixed step per reading, no music read
//   Transport           the developer mode's playhead: the music's position while it plays, the
//                       timer at the playback speed where there is none, seeking and a loop

#include <cstdint>
#include <functional>

// Milliseconds of a clock that only moves forward (it may wrap around).
using DemoTimer = std::function<uint32_t()>;

class DemoClock {
 public:
  virtual ~DemoClock() = default;
  // Starts again from 0 (the music has just been restarted).
  virtual void Restart() = 0;
  // Advances the clock and returns the demo time; read once per played frame.
  virtual uint32_t Read() = 0;
};
