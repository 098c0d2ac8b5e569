#pragma once
// What the timeline asks of the music and of time: start the music, whether it still plays, its
// volume for the Escape fade, and a millisecond timer. The player's come from the sound player
// and the platform timer; tests drive the state machine with their own.

#include <cstdint>
#include <functional>

class SoundPlayer;

class DemoMusic {
 public:
  virtual ~DemoMusic() = default;
  // Starts the music from its beginning.
  virtual void Play() = 0;
  virtual bool IsPlaying() const = 0;
  // Hundredths of a decibel: 0 full, -10000 silent.
  virtual void SetVolume(int32_t hundredthsOfDecibel) = 0;
};

// Milliseconds of a clock that only moves forward (it may wrap around).
using DemoTimer = std::function<uint32_t()>;

// The music of a sound player, which stays its owner's.
class SoundPlayerMusic : public DemoMusic {
 public:
  explicit SoundPlayerMusic(SoundPlayer& player) : mPlayer(player) {}
  void Play() override;
  bool IsPlaying() const override;
  void SetVolume(int32_t hundredthsOfDecibel) override;

 private:
  SoundPlayer& mPlayer;
};
