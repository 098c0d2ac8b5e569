#include "tools/capture/picture_folder_sink.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "files/output_file.h"
#include "render/texture_png_writer.h"
#include "tools/capture/wave_file.h"

namespace {

constexpr const char MUSIC_NAME[] = "music.wav";

}  // namespace

std::string PictureName(int64_t frame) {
  char name[40];
  std::snprintf(name, sizeof name, "frame_%08" PRId64 ".png", frame);
  return name;
}

void PictureFolderSink::OpenWithoutMusic(const std::string& folder, int width, int height) {
  mFolder = folder;
  mWidth = width;
  mHeight = height;
}

bool PictureFolderSink::Open(const std::string& folder, int width, int height, const SoundSlice& sound,
                             std::string& error) {
  OpenWithoutMusic(folder, width, height);
  std::vector<uint8_t> wave = EncodeWave(sound.samples, sound.count, sound.channels, sound.sampleRate);
  if (wave.empty()) {
    error = "the music is too long for one WAVE file";
    return false;
  }
  return WriteOutputFile(mFolder + "/" + MUSIC_NAME, wave, error);
}

bool PictureFolderSink::Write(const CapturedFrame& frame, std::string& error) {
  size_t row = static_cast<size_t>(mWidth) * 4;
  mTopFirst.resize(row * mHeight);
  for (int y = 0; y < mHeight; ++y) {
    std::copy_n(frame.pixels.data() + (mHeight - 1 - y) * row, row, mTopFirst.data() + y * row);
  }
  std::vector<uint8_t> png = EncodeRgbaPng(mTopFirst.data(), mWidth, mHeight, "torvane frame", PngCompression::Fast);
  if (png.empty()) {
    error = "cannot encode frame " + std::to_string(frame.index) + " as PNG";
    return false;
  }
  return WriteOutputFile(mFolder + "/" + PictureName(frame.index - mOrigin), png, error);
}

bool PictureFolderSink::Finish(std::string&) { return true; }
