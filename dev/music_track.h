#pragma once
// What the developer mode's transport needs of the music, so that the playhead rules can be
// tested against a model of it. MusicPlayerTrack is the real one over the streaming player.

#include <cstdint>
#include <memory>
#include <string>

class SoundPlayer;

class MusicTrack {
 public:
  virtual ~MusicTrack() = default;
  // Starts playing ms into the music; false when it cannot (nothing open, or ms at or past its end).
  virtual bool PlayFrom(uint32_t ms) = 0;
  virtual void Stop() = 0;
  virtual bool IsPlaying() const = 0;
  // Where the music being played is, in milliseconds from its start.
  virtual uint32_t PositionMs() const = 0;
  virtual uint32_t LengthMs() const = 0;
  // 1 normal; 0.5 half speed, an octave lower.
  virtual void SetSpeed(double speed) = 0;
  virtual void SetMuted(bool muted) = 0;
};

class MusicPlayerTrack : public MusicTrack {
 public:
  MusicPlayerTrack();
  ~MusicPlayerTrack() override;

  // Opens the audio output and the music file; false with the reason in error (the transport then
  // keeps time with the wall clock alone).
  bool Open(const std::string& path, std::string& error);

  bool PlayFrom(uint32_t ms) override;
  void Stop() override;
  bool IsPlaying() const override;
  uint32_t PositionMs() const override;
  uint32_t LengthMs() const override;
  void SetSpeed(double speed) override;
  void SetMuted(bool muted) override;

 private:
  std::unique_ptr<SoundPlayer> mPlayer;
  bool mOpen = false;
};
