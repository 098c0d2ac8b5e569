#pragma once
// Frames and their music into one video file: before frame n's picture, the sound up to where
// frame n + 1 starts, so that the container's streams advance side by side.

#include "tools/capture/frame_sink.h"
#include "tools/capture/media_file_writer.h"

class VideoFileSink : public FrameSink {
 public:
  // Opens path as a file of the container that finalName's extension names.
  bool Open(const std::string& path, const std::string& finalName, const VideoTrackSettings& video, AudioCodec audio,
            const SoundSlice& sound, std::string& error);
  bool Write(const CapturedFrame& frame, std::string& error) override;
  bool Finish(std::string& error) override;

 private:
  bool WriteSoundUpTo(int64_t sample, std::string& error);

  MediaFileWriter mWriter;
  SoundSlice mSound;
  uint32_t mFps = 0;
  int64_t mSoundWritten = 0;  // samples per channel of the slice
};
