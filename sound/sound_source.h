#pragma once
// Where a decoder reads from: a disk file by name, or a block of memory handed to Open under
// the name SOUND_MEMORY_SOURCE_NAME.

#include <cstdint>

inline constexpr const char SOUND_MEMORY_SOURCE_NAME[] = "ON_MEMORY_FILE_LOAD";
inline constexpr uint32_t SOUND_SOURCE_RECORD_SIZE = 288;
inline constexpr int SOUND_SOURCE_NAME_SIZE = 260;

struct SoundSource {
  uint32_t recordSize = SOUND_SOURCE_RECORD_SIZE;
  char name[SOUND_SOURCE_NAME_SIZE] = {};  // zero-terminated, cut to fit
  uint64_t size = 0;                       // bytes in the file or the memory block
  const uint8_t* memory = nullptr;         // memory source only
  uint64_t readPosition = 0;               // memory source only
};

bool IsMemorySource(const SoundSource& source);
