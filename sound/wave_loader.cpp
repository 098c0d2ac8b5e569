#include "sound/wave_loader.h"

#include <cstdint>

#include "sound/wave_layout.h"

bool WaveLoader::OpenStream() {
  std::unique_ptr<RiffSource> file;
  if (IsMemorySource(*mSource)) {
    file = std::make_unique<MemoryRiffSource>(mSource->memory, mSource->size);
  } else {
    auto disk = std::make_unique<FileRiffSource>();
    if (!disk->Open(SourcePath())) return false;
    file = std::move(disk);
  }
  WaveLayout layout;
  if (!ReadWaveLayout(*file, layout)) return false;
  mFormat = layout.format;
  mTotal = layout.dataSize;
  mDataStart = layout.dataOffset;
  mFileOffset = mDataStart;
  mFile = std::move(file);
  return true;
}

bool WaveLoader::SeekStream(uint64_t bytes) {
  mFileOffset = mDataStart + bytes;
  return true;
}

CSoundLoader::Fill WaveLoader::FillFromStream(uint8_t* out, uint32_t bytes) {
  Fill fill;
  if (bytes == 0) return fill;
  if (!mFile->ReadAt(mFileOffset, out, bytes)) {
    fill.failed = true;
    return fill;
  }
  mFileOffset += bytes;
  fill.bytes = bytes;
  return fill;
}

void WaveLoader::SetFileOffset(int64_t bytes, int origin) {
  int64_t base = 0;
  if (origin == SOUND_SEEK_CURRENT) base = static_cast<int64_t>(mFileOffset - mDataStart);
  if (origin == SOUND_SEEK_END) base = mTotal;
  int64_t target;
  if (__builtin_add_overflow(base, bytes, &target)) target = bytes < 0 ? 0 : INT64_MAX - static_cast<int64_t>(mDataStart);
  mFileOffset = mDataStart + static_cast<uint64_t>(target < 0 ? 0 : target);
}

int WaveLoader::SeekBytes(int64_t bytes, int origin) {
  if (!mOpened) return SOUND_NO_SOURCE;
  if (!EnsureStream()) return SOUND_SOURCE_FAILED;
  mPosition = static_cast<uint32_t>(bytes);
  SetFileOffset(bytes, origin);
  return SOUND_OK;
}

int WaveLoader::SeekMs(uint32_t ms, int origin) {
  if (!mOpened || !EnsureStream()) return SOUND_OK;
  mPosition = static_cast<uint32_t>(static_cast<uint64_t>(ms) * mFormat.averageBytesPerSecond / 1000);
  SetFileOffset(mPosition, origin);
  return SOUND_OK;
}
