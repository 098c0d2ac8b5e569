#pragma once
// A video file through FFmpeg's libraries: one video stream encoded from RGBA frames and an
// optional sound track encoded from 16-bit PCM, muxed into the container that a file name's
// extension names. Timestamps are the capture's own: frame n of the production has video
// timestamp n, and music sample s audio timestamp s, so a segment of a longer capture carries
// the times it has in the whole.

#include <cstdint>
#include <memory>
#include <string>

#include "tools/capture/capture_codecs.h"

struct VideoTrackSettings {
  int width = 0;
  int height = 0;
  uint32_t fps = 60;
  VideoCodec codec = VideoCodec::H264;
  int crf = 18;  // H.264 only
};

struct AudioTrackSettings {
  AudioCodec codec = AudioCodec::Aac;
  uint32_t sampleRate = 44100;  // of the PCM handed over; Opus resamples to 48 kHz
  int channels = 2;
};

class MediaFileWriter {
 public:
  MediaFileWriter();
  ~MediaFileWriter();
  MediaFileWriter(const MediaFileWriter&) = delete;
  MediaFileWriter& operator=(const MediaFileWriter&) = delete;

  // Sets up the encoders and opens path, in the container that the extension of nameForFormat
  // names (the file is written under a temporary path, the format follows its final name).
  // audio may be null for a file without sound. False with error set.
  bool Open(const std::string& path, const std::string& nameForFormat, const VideoTrackSettings& video,
            const AudioTrackSettings* audio, std::string& error);
  // Encodes frame number frame: RGBA, bottom row first, width × height.
  bool WriteVideo(const uint8_t* rgbaBottomFirst, int64_t frame, std::string& error);
  // Encodes count interleaved samples per channel; the first call says at which music sample the
  // track starts, later calls continue where the last stopped.
  bool WriteAudio(const int16_t* samples, int64_t count, int64_t firstSample, std::string& error);
  // Drains the encoders, writes the trailer and closes the file. False with error set.
  bool Finish(std::string& error);
  // Closes the file as it is (the caller throws it away).
  void Close();

 private:
  struct State;
  std::unique_ptr<State> mState;
};
