#include "sound/sound_loader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

int CSoundLoader::GetFormat(WaveFormat& out) const {
  out = mFormat;
  return SOUND_OK;
}

int CSoundLoader::Read(PcmBlock& data, int64_t position, uint32_t size, bool loop) {
  std::lock_guard<std::mutex> guard(mLock);
  return ReadCore(nullptr, &data, position, size, loop);
}

int CSoundLoader::GetSourceInfo(SoundSource& out) const {
  if (!mSource) return SOUND_NO_SOURCE;
  out = *mSource;
  return SOUND_OK;
}

uint32_t CSoundLoader::GetLengthMs() const {
  if (mFormat.averageBytesPerSecond == 0) return 0;
  // total / (bytes per second / 1000), kept in integers so whole seconds come out exact.
  return static_cast<uint32_t>(static_cast<uint64_t>(mTotal) * 1000 / mFormat.averageBytesPerSecond);
}

int CSoundLoader::Open(const char* name, const void* memory, uint64_t memorySize) {
  Close();
  if (!name) return SOUND_OPEN_FAILED;
  mPath = name;
  mSource = std::make_unique<SoundSource>();
  std::strncpy(mSource->name, name, SOUND_SOURCE_NAME_SIZE - 1);
  if (IsMemorySource(*mSource)) {
    mSource->size = memory ? memorySize : 0;
    mSource->memory = static_cast<const uint8_t*>(memory);
  } else {
    std::error_code error;
    uintmax_t bytes = std::filesystem::file_size(mPath, error);
    mSource->size = error ? 0 : bytes;
  }
  if (ReadCore(&mFormat, nullptr, 0, 0, false) == SOUND_OK) {
    mOpened = true;
    return SOUND_OK;
  }
  Close();
  return SOUND_OPEN_FAILED;
}

int CSoundLoader::Close() {
  CloseStream();
  mFormat = WaveFormat{};
  mTotal = 0;
  mPosition = 0;
  mSource.reset();
  mPath.clear();
  mOpened = false;
  return SOUND_OK;
}

bool CSoundLoader::Probe(const char* name, const void* memory, uint64_t memorySize) {
  int result = Open(name, memory, memorySize);
  Close();
  return result == SOUND_OK;
}

bool CSoundLoader::EnsureStream() {
  if (StreamIsOpen()) return true;
  if (mSource && OpenStream()) return true;
  CloseStream();
  return false;
}

int CSoundLoader::ReadCore(WaveFormat* formatOut, PcmBlock* data, int64_t position, uint32_t size, bool loop) {
  if (!EnsureStream()) return SOUND_SOURCE_FAILED;
  if (formatOut) *formatOut = mFormat;
  if (!data) return SOUND_OK;
  if (size == 0) return ReadWhole(*data);
  return ReadBlock(*data, position, size, loop);
}

int CSoundLoader::ReadBlock(PcmBlock& data, int64_t position, uint32_t size, bool loop) {
  if (!data.Allocate(size)) return SOUND_SOURCE_FAILED;
  uint64_t current;
  if (position >= 0 && !SeekStream(static_cast<uint64_t>(position))) {
    // A stream cannot seek past its end; the read then starts there.
    current = static_cast<uint64_t>(position);
  } else {
    current = StreamOffset();
  }
  uint8_t* out = data.Data();
  if (current + size <= mTotal) {
    Fill fill = FillFromStream(out, size);
    if (fill.failed) return FailRead(data);
    mPosition += size;
    if (fill.bytes == size) return SOUND_OK;
    // The stream ran out before the length it stated: that is where the sound ends.
    FillSilence(out + fill.bytes, size - fill.bytes);
    return fill.bytes == 0 ? SOUND_ALREADY_ENDED : SOUND_END_IN_BLOCK;
  }
  if (!loop && current >= mTotal) {
    FillSilence(out, size);
    return SOUND_ALREADY_ENDED;
  }
  uint32_t rest = current < mTotal ? static_cast<uint32_t>(mTotal - current) : 0;
  Fill fill = FillFromStream(out, rest);
  if (fill.failed) return FailRead(data);
  mPosition += rest;
  if (!loop) {
    FillSilence(out + fill.bytes, size - fill.bytes);
    return SOUND_END_IN_BLOCK;
  }
  return ReadLooped(data, rest);
}

// Fills the block from the start of the sound onwards, as often as a short sound needs.
int CSoundLoader::ReadLooped(PcmBlock& data, uint32_t filled) {
  uint8_t* out = data.Data();
  uint32_t size = static_cast<uint32_t>(data.Size());
  while (filled < size) {
    Fill fill;
    if (mTotal != 0 && SeekStream(0)) {
      fill = FillFromStream(out + filled, std::min(size - filled, mTotal));
      if (fill.failed) return FailRead(data);
    }
    if (fill.bytes == 0) {
      // Nothing to loop over.
      FillSilence(out + filled, size - filled);
      return filled == 0 ? SOUND_ALREADY_ENDED : SOUND_END_IN_BLOCK;
    }
    filled += fill.bytes;
    mPosition = fill.bytes;
  }
  return SOUND_OK;
}

int CSoundLoader::ReadWhole(PcmBlock& data) {
  if (!SeekStream(0)) return FailRead(data);
  if (!data.Allocate(mTotal)) return SOUND_SOURCE_FAILED;
  Fill fill = FillFromStream(data.Data(), mTotal);
  if (fill.failed) return FailRead(data);
  FillSilence(data.Data() + fill.bytes, mTotal - fill.bytes);
  CloseStream();
  return SOUND_OK;
}

int CSoundLoader::FailRead(PcmBlock& data) {
  data.Free();
  CloseStream();
  return SOUND_SOURCE_FAILED;
}

void CSoundLoader::FillSilence(uint8_t* out, uint32_t bytes) const {
  if (bytes) std::memset(out, SilenceByte(mFormat), bytes);
}
