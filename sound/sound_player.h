#pragma once
// The music player. Sounds with less than STATIC_SOUND_LIMIT bytes of PCM are decoded whole into
// one static buffer; longer ones are streamed by a worker thread into a ring buffer of
// STREAM_SEGMENT_COUNT segments, each written when the play cursor is half a segment before
// it; when the decoder reports the end, what is queued plays out and the buffer stops right after
// the music's last sample. The main thread asks
// IsPlaying (the demo clock runs only while it is true) and sets the volume; it talks to the
// worker only through the worker's message queue and an event.

#include <cstdint>
#include <memory>
#include <optional>
#include <thread>

#include "core/alert.h"
#include "platform/audio_buffer.h"
#include "sound/auto_reset_event.h"
#include "sound/sound_loader.h"
#include "sound/stream_segments.h"
#include "sound/thread_message_queue.h"

inline constexpr const char MUSIC_FILE_NAME[] = "music.ogg";
// Asks the worker to play from the millisecond in the message's parameter.
inline constexpr uint32_t SOUND_MESSAGE_PLAY = THREAD_MESSAGE_USER + 47;

inline constexpr const char SOUND_TEXT_NO_DECODER[] =
    "Sound::%sの読み取りインターフェイス取得に失敗.\nファイルが存在するかもしくは対応形式か確認して下さい.";
inline constexpr const char SOUND_TEXT_READ_FAILED[] = "Sound::%sの読み取りに失敗.";
inline constexpr const char SOUND_TEXT_NO_OUTPUT[] =
    "The sound output could not be opened (%s).\nThe demo cannot start without it.";

class SoundPlayer {
 public:
  SoundPlayer();
  ~SoundPlayer();
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // Opens the process's audio output. PLAYER_OUTPUT_FAILED (with the failure the user must be told
  // of) when it cannot be opened, PLAYER_OUTPUT_ERROR when it is open already.
  int InitDirectSound();
  // Opens the music: PLAYER_OK, PLAYER_OPEN_FAILED, PLAYER_NO_DECODER (both with a warning for
  // the user), PLAYER_PRIMARY_FAILED without an audio output, or PLAYER_OUTPUT_ERROR.
  int OpenMusic(const char* name = MUSIC_FILE_NAME);
  // Starts the music from its beginning; PLAYER_NO_BUFFER when nothing is open.
  int Play();
  // Starts the music ms into it, as Play does from 0. From the end on there is nothing to play:
  // a static sound stops at once, a streamed one after its first (silent) segment.
  int PlayFrom(uint32_t ms);
  bool IsPlaying() const;
  // Stops where it is; PlayFrom starts again.
  void Stop();
  // The frame of the sound being played, counted from its start: exact to the sample while it
  // plays. A stream that stopped at its end reports where its last play began.
  uint64_t PositionFrames() const;
  uint32_t PositionMs() const;
  // The sound's length; 0 when nothing is open.
  uint32_t LengthMs() const;
  // Plays at speed times the sound's own rate, pitch included (1 is normal), from now on and in
  // every later play.
  void SetSpeed(double speed);
  // Hundredths of a decibel: 0 full, -10000 silent.
  int SetVolume(int32_t hundredthsOfDecibel);
  int Close();

  // Where no thread can run (the browser), streams are refilled from the main loop by PumpStreams
  // instead of by a worker thread. Set before the music is opened.
  static void StreamFromMainLoop(bool fromMainLoop);
  static bool StreamsFromMainLoop();
  // The worker's step for every stream opened that way: the segment that is due, the end.
  static void PumpStreams();

  // The last failure the user must be told of (the caller raises it), or empty.
  const std::optional<Alert>& Failure() const { return mFailure; }
  bool IsStreaming() const { return mStreaming; }
  uint32_t SegmentBytes() const { return mSegmentBytes; }
  const WaveFormat& Format() const { return mFormat; }

 private:
  void ReleaseHeld();
  int OpenStatic(uint32_t size);
  int OpenStreaming();
  void StopWorker();
  void ApplySpeed();
  bool WriteBlock(uint32_t offset, uint32_t bytes, const uint8_t* data);
  uint32_t BufferBytes() const { return mSegmentBytes * mSegmentCount; }

  // The worker thread (sound_stream_worker.cpp) and its state between polls.
  struct StreamState {
    uint32_t writeOffset = 0;  // where the next segment goes
    bool playing = false;
    bool ending = false;  // the music's end is queued; the buffer stops after its last sample
    uint32_t endOffset = 0;  // where, once ending
  };
  void RunWorker();
  StreamState RestartStream(uint32_t ms);
  void RefillIfDue(StreamState& stream);
  void WriteNextSegment(StreamState& stream);
  void WaitForTheEnd(StreamState& stream);
  void StartPumped();
  void StopPumped();
  void PumpStep();

  std::unique_ptr<platform::AudioBuffer> mBuffer;
  bool mLoop = false;
  WaveFormat mFormat;
  std::unique_ptr<CSoundLoader> mDecoder;
  uint32_t mSegmentBytes = 0;
  uint32_t mSegmentCount = STREAM_SEGMENT_COUNT;
  uint32_t mBufferSeconds = STREAM_BUFFER_SECONDS;
  bool mStreaming = false;
  std::optional<Alert> mFailure;
  bool mRestart = true;
  uint64_t mStartFrame = 0;  // where the stream's last play began
  double mSpeed = 1.0;
  std::thread mWorker;
  ThreadMessageQueue mMessages;
  AutoResetEvent mEvent;
  bool mLive = true;
  bool mPumped = false;  // refilled by PumpStreams, with no worker thread
  StreamState mPumpedStream;
};
