#pragma once
// The developer mode's clock, its playhead. Contract: while the music plays, demo time is the
// music transport's position (so picture and sound agree to the sample); where there is no music
// to play (none opened, or past its end) it runs on the millisecond timer at the playback speed;
// paused, it holds. It never passes the end of the timeline: there it stops, or with the loop on
// goes back to the loop's start. The music follows every play, pause, seek, speed and mute.

#include <cstdint>
#include <functional>

#include "demo/demo_clock.h"

class MusicTransport;

enum class PlaybackSpeed { Half, Normal };

struct LoopRegion {
  bool on = false;
  uint32_t from = 0;  // ms, where the loop goes back to
  uint32_t to = 0;    // ms, where it turns back; not after from (0 unset): the timeline's end
};

class Transport : public DemoClock {
 public:
  // music may be null (no music); timer gives milliseconds (wrapping at 2^32 is fine).
  Transport(MusicTransport* music, DemoTimer timer);

  // The end of the timeline: the playhead never goes past it.
  void SetLength(uint32_t ms);
  uint32_t Length() const { return mLength; }

  // Moves the playhead on to now and applies the loop and the end; once per frame. Returns it.
  uint32_t Update();
  // As a demo clock: back to the start, and the playhead where it is now.
  void Restart() override { Seek(0); }
  uint32_t Read() override { return Update(); }
  uint32_t Time() const { return mTime; }
  bool IsPlaying() const { return mPlaying; }

  void Play();
  void Pause();
  void TogglePlay();
  // Moves the playhead (clamped to the timeline); a playing transport plays on from there.
  void Seek(uint32_t ms);
  void SeekBy(int64_t deltaMs);

  // "[" and "]": the loop's start or end at the playhead, turning the loop on. A start at or past
  // the end drops the end (back to the timeline's end); an end at or before the start drops the
  // start (back to 0).
  void MarkLoopIn();
  void MarkLoopOut();
  // Sets both ends (in either order) and turns the loop on; equal ends turn it off.
  void SetLoop(uint32_t from, uint32_t to);
  void ToggleLoop();
  void LoopOff();
  const LoopRegion& Loop() const { return mLoop; }
  // The span the loop plays: its ends, or the whole timeline when none is set.
  uint32_t LoopStart() const;
  uint32_t LoopEnd() const;

  void SetSpeed(PlaybackSpeed speed);
  PlaybackSpeed Speed() const { return mSpeed; }
  void SetMuted(bool muted);
  void ToggleMute() { SetMuted(!mMuted); }
  bool IsMuted() const { return mMuted; }

  // Whether the playhead comes from the music at the moment (false: the timer).
  bool FollowsMusic() const { return mFollowingMusic; }

 private:
  void StartFrom(uint32_t ms);
  uint32_t Advance();
  double SpeedFactor() const { return mSpeed == PlaybackSpeed::Half ? 0.5 : 1.0; }

  MusicTransport* mMusic;
  DemoTimer mTimer;
  uint32_t mLength = 0;
  uint32_t mTime = 0;
  bool mPlaying = false;
  bool mFollowingMusic = false;
  // The timer's time and the playhead's, in fractional ms, where timer-driven play last resumed.
  uint32_t mTimerStart = 0;
  double mTimeAtTimerStart = 0.0;
  LoopRegion mLoop;
  PlaybackSpeed mSpeed = PlaybackSpeed::Normal;
  bool mMuted = false;
};
