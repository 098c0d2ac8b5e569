#pragma once
// Frames as pictures in a folder: frame_NNNNNNNN.png per frame (its number in the production,
// or its demo time when frames are taken at chosen times) and the music of the same frames as
// music.wav. Pictures are compressed for speed: they are written as fast as frames are composed.

#include <string>

#include "tools/capture/frame_sink.h"

class PictureFolderSink : public FrameSink {
 public:
  // Writes the music into folder (which must exist) at once; the pictures follow frame by frame.
  bool Open(const std::string& folder, int width, int height, const SoundSlice& sound, std::string& error);
  // Pictures only, no music: for frames at chosen times rather than a stretch of the production.
  void OpenWithoutMusic(const std::string& folder, int width, int height);
  bool Write(const CapturedFrame& frame, std::string& error) override;
  bool Finish(std::string& error) override;

 private:
  std::string mFolder;
  int mWidth = 0;
  int mHeight = 0;
  std::vector<uint8_t> mTopFirst;
};

// The name of frame n's picture.
std::string PictureName(int64_t frame);
