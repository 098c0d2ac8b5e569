#include "tools/capture/video_file_sink.h"

#include <algorithm>

#include "tools/capture/capture_timing.h"

bool VideoFileSink::Open(const std::string& path, const std::string& finalName, const VideoTrackSettings& video,
                         AudioCodec audio, const SoundSlice& sound, std::string& error) {
  mSound = sound;
  mFps = video.fps;
  mSoundWritten = 0;
  AudioTrackSettings audioSettings;
  audioSettings.codec = audio;
  audioSettings.sampleRate = sound.sampleRate;
  audioSettings.channels = sound.channels;
  return mWriter.Open(path, finalName, video, sound.count > 0 ? &audioSettings : nullptr, error);
}

bool VideoFileSink::WriteSoundUpTo(int64_t sample, std::string& error) {
  int64_t end = std::min(sample - mSound.firstSample, mSound.count);
  if (end <= mSoundWritten) return true;
  const int16_t* from = mSound.samples + static_cast<size_t>(mSoundWritten) * mSound.channels;
  const int64_t originSample = FirstSampleOfFrame(mOrigin, mSound.sampleRate, mFps);
  bool written = mWriter.WriteAudio(from, end - mSoundWritten, mSound.firstSample + mSoundWritten - originSample, error);
  mSoundWritten = end;
  return written;
}

bool VideoFileSink::Write(const CapturedFrame& frame, std::string& error) {
  return WriteSoundUpTo(FirstSampleOfFrame(frame.index + 1, mSound.sampleRate, mFps), error) &&
         mWriter.WriteVideo(frame.pixels.data(), frame.index - mOrigin, error);
}

bool VideoFileSink::Finish(std::string& error) {
  return WriteSoundUpTo(mSound.firstSample + mSound.count, error) && mWriter.Finish(error);
}
