#pragma once
// The one view of the music that the clocks and the front ends share: start it from its
// beginning or from a position, stop it, ask whether and where it plays, and change its speed and
// volume. SoundPlayerTransport is the real one over the streaming player; tests drive the
// timeline and the developer mode's playhead with models of it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/alert.h"

class SoundPlayer;

class MusicTransport {
 public:
  virtual ~MusicTransport() = default;
  // Starts the music from its beginning.
  virtual void Play() = 0;
  // Starts playing ms into the music; false when it cannot (nothing open, or ms at or past its end).
  virtual bool PlayFrom(uint32_t ms) = 0;
  // Stops where it is.
  virtual void Stop() = 0;
  virtual bool IsPlaying() const = 0;
  // Where the music being played is, in milliseconds from its start.
  virtual uint32_t PositionMs() const = 0;
  virtual uint32_t LengthMs() const = 0;
  // 1 normal; 0.5 half speed, an octave lower.
  virtual void SetSpeed(double speed) = 0;
  // Hundredths of a decibel: 0 full, -10000 silent.
  virtual void SetVolume(int32_t hundredthsOfDecibel) = 0;
};

class SoundPlayerTransport : public MusicTransport {
 public:
  SoundPlayerTransport();
  ~SoundPlayerTransport() override;

  // Opens the audio output and the music file; false when either fails, with the reason in Failure().
  bool Open(const std::string& path);
  const std::optional<Alert>& Failure() const;

  void Play() override;
  bool PlayFrom(uint32_t ms) override;
  void Stop() override;
  bool IsPlaying() const override;
  uint32_t PositionMs() const override;
  uint32_t LengthMs() const override;
  void SetSpeed(double speed) override;
  void SetVolume(int32_t hundredthsOfDecibel) override;

 private:
  std::unique_ptr<SoundPlayer> mPlayer;
  bool mOpen = false;
};
