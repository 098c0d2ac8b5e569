#pragma once
// The four stream callbacks that let vorbisfile read a memory block. The data source is the
// decoder's SoundSource, which keeps the read position.

#include <cstddef>
#include <cstdint>

size_t OggMemoryRead(void* out, size_t size, size_t count, void* source);
// whence 0 sets, 1 adds to the read position, 2 adds to the size; -1 for anything else or a
// position below 0.
int OggMemorySeek(void* source, int64_t offset, int whence);
int OggMemoryClose(void* source);
long OggMemoryTell(void* source);
