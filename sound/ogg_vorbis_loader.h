#pragma once
// Ogg Vorbis decoder over vorbisfile: 16-bit signed little-endian PCM of the whole chain,
// in the layout of its first logical stream.

#include <cstdio>
#include <memory>

#include "sound/sound_loader.h"

struct OggVorbis_File;

class OggVorbisLoader : public CSoundLoader {
 public:
  OggVorbisLoader();
  ~OggVorbisLoader() override;

  // SOUND_OK when not opened; SOUND_SOURCE_FAILED (position reset to 0) when the stream
  // cannot go there. The origin is not used: bytes always count from the start.
  int SeekBytes(int64_t bytes, int origin) override;
  int SeekMs(uint32_t ms, int origin) override;

 protected:
  bool OpenStream() override;
  void CloseStream() override;
  bool StreamIsOpen() const override { return mVorbis != nullptr; }
  bool SeekStream(uint64_t bytes) override;
  uint64_t StreamOffset() override;
  Fill FillFromStream(uint8_t* out, uint32_t bytes) override;

 private:
  bool TakeStreamInfo();
  bool SeekSample(uint64_t sample);

  std::FILE* mFile = nullptr;
  std::unique_ptr<OggVorbis_File> mVorbis;
};
