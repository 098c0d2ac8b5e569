#include "sound/ogg_memory_source.h"

#include <cstring>

#include "sound/sound_source.h"

size_t OggMemoryRead(void* out, size_t size, size_t count, void* source) {
  SoundSource& memory = *static_cast<SoundSource*>(source);
  if (size == 0 || memory.readPosition >= memory.size) return 0;
  uint64_t remaining = memory.size - memory.readPosition;
  const uint8_t* from = memory.memory + memory.readPosition;
  if (count <= remaining / size) {
    std::memcpy(out, from, size * count);
    memory.readPosition += size * count;
    return count;
  }
  std::memcpy(out, from, remaining);
  memory.readPosition = memory.size;
  return remaining / size;
}

int OggMemorySeek(void* source, int64_t offset, int whence) {
  SoundSource& memory = *static_cast<SoundSource*>(source);
  int64_t base;
  switch (whence) {
    case 0: base = 0; break;
    case 1: base = static_cast<int64_t>(memory.readPosition); break;
    case 2: base = static_cast<int64_t>(memory.size); break;
    default: return -1;
  }
  int64_t target;
  if (__builtin_add_overflow(base, offset, &target) || target < 0) return -1;
  memory.readPosition = static_cast<uint64_t>(target);
  return 0;
}

int OggMemoryClose(void*) { return 0; }

long OggMemoryTell(void* source) { return static_cast<long>(static_cast<SoundSource*>(source)->readPosition); }
