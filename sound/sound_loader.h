#pragma once
// Sound decoders: turn a sound file into PCM blocks as the player asks for them, the whole sound
// at once or one block at a time, with the end reported and padded with silence. A decoder reads
// a disk file by name, or the memory handed to Open under SOUND_MEMORY_SOURCE_NAME. Decoding
// knows nothing of audio output, so anything (a player, a tool, a capture) can drive it.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "sound/pcm_block.h"
#include "sound/sound_source.h"
#include "sound/sound_status.h"
#include "sound/wave_format.h"

// Seek origins of SeekBytes and SeekMs.
inline constexpr int SOUND_SEEK_SET = 0;
inline constexpr int SOUND_SEEK_CURRENT = 1;
inline constexpr int SOUND_SEEK_END = 2;

// Read's position that continues where the last read stopped.
inline constexpr int64_t SOUND_CURRENT_POSITION = -1;

class CSoundLoader {
 public:
  virtual ~CSoundLoader() = default;
  CSoundLoader(const CSoundLoader&) = delete;
  CSoundLoader& operator=(const CSoundLoader&) = delete;

  int GetFormat(WaveFormat& out) const;
  // Fills data with a new block of size bytes (0: the whole sound, after which the source is
  // closed), first seeking to the PCM byte position unless it is SOUND_CURRENT_POSITION. loop
  // makes a read past the end continue from the beginning instead of filling up with silence.
  // Serialised by the decoder's lock: another thread may query the decoder meanwhile.
  int Read(PcmBlock& data, int64_t position, uint32_t size, bool loop);
  int GetSourceInfo(SoundSource& out) const;
  uint32_t GetLengthMs() const;
  uint32_t GetPosition() const { return mPosition; }
  // SOUND_OK, or SOUND_OPEN_FAILED with the decoder closed.
  int Open(const char* name, const void* memory = nullptr, uint64_t memorySize = 0);
  int Close();
  uint32_t GetSize() const { return mTotal; }
  // Whether Open accepts the source; the decoder is left closed.
  bool Probe(const char* name, const void* memory = nullptr, uint64_t memorySize = 0);
  virtual int SeekBytes(int64_t bytes, int origin) = 0;
  virtual int SeekMs(uint32_t ms, int origin) = 0;
  bool IsOpened() const { return mOpened; }

 protected:
  CSoundLoader() = default;

  // Opens the stream if it is not open yet, then copies the format out and delivers a block
  // when data is given.
  int ReadCore(WaveFormat* formatOut, PcmBlock* data, int64_t position, uint32_t size, bool loop);

  struct Fill {
    uint32_t bytes = 0;
    bool failed = false;  // the source could not be read: the read fails with SOUND_SOURCE_FAILED
  };

  // What each decoder provides to ReadCore. OpenStream fills mFormat and mTotal.
  virtual bool OpenStream() = 0;
  virtual void CloseStream() = 0;
  virtual bool StreamIsOpen() const = 0;
  // Moves to PCM byte offset bytes; false when the stream cannot go there.
  virtual bool SeekStream(uint64_t bytes) = 0;
  // The current PCM byte offset.
  virtual uint64_t StreamOffset() = 0;
  // Decodes up to bytes into out; fewer bytes without failure means the sound ended.
  virtual Fill FillFromStream(uint8_t* out, uint32_t bytes) = 0;

  // Opens the stream again after a whole-sound read closed it.
  bool EnsureStream();
  // The disk file's full name (the source record holds a copy cut to its size).
  const char* SourcePath() const { return mPath.c_str(); }

  WaveFormat mFormat;
  uint32_t mPosition = 0;
  uint32_t mTotal = 0;
  std::unique_ptr<SoundSource> mSource;
  bool mOpened = false;

 private:
  int ReadBlock(PcmBlock& data, int64_t position, uint32_t size, bool loop);
  int ReadWhole(PcmBlock& data);
  int ReadLooped(PcmBlock& data, uint32_t filled);
  int FailRead(PcmBlock& data);
  void FillSilence(uint8_t* out, uint32_t bytes) const;

  std::string mPath;
  std::mutex mLock;
};
