#pragma once
// RIFF WAVE decoder: the PCM of the 'data' chunk, read as it is stored.

#include <memory>

#include "sound/riff_source.h"
#include "sound/sound_loader.h"

class WaveLoader : public CSoundLoader {
 public:
  WaveLoader() = default;
  ~WaveLoader() override { Close(); }

  // SOUND_NO_SOURCE when not opened; origin SET counts from the start of the PCM, CURRENT from
  // the read position, END from the end of the PCM.
  int SeekBytes(int64_t bytes, int origin) override;
  int SeekMs(uint32_t ms, int origin) override;

 protected:
  bool OpenStream() override;
  void CloseStream() override { mFile.reset(); }
  bool StreamIsOpen() const override { return mFile != nullptr; }
  bool SeekStream(uint64_t bytes) override;
  uint64_t StreamOffset() override { return mFileOffset - mDataStart; }
  Fill FillFromStream(uint8_t* out, uint32_t bytes) override;

 private:
  void SetFileOffset(int64_t bytes, int origin);

  std::unique_ptr<RiffSource> mFile;
  uint64_t mDataStart = 0;
  uint64_t mFileOffset = 0;
};
