#pragma once
// RIFF chunk navigation: descent into a chunk by id and ascent past it. Chunks are
// word-aligned (an odd-sized chunk is followed by a pad byte). A chunk is found only when it
// lies wholly inside its parent, so a lying size can never send a reader past the data.

#include <cstdint>

#include "sound/riff_source.h"

constexpr uint32_t RiffFourCC(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) | (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8) |
         (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16) | (static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24);
}

inline constexpr uint32_t RIFF_ID_RIFF = RiffFourCC('R', 'I', 'F', 'F');
inline constexpr uint32_t RIFF_ID_WAVE = RiffFourCC('W', 'A', 'V', 'E');
inline constexpr uint32_t RIFF_ID_FMT = RiffFourCC('f', 'm', 't', ' ');
inline constexpr uint32_t RIFF_ID_DATA = RiffFourCC('d', 'a', 't', 'a');

struct RiffChunk {
  uint32_t id = 0;
  uint32_t size = 0;        // bytes of contents, as the chunk header states
  uint32_t formType = 0;    // 'RIFF' and 'LIST' chunks only
  uint64_t dataOffset = 0;  // first byte of the contents (after the form type, if any)
  uint64_t end = 0;         // one past the contents, before any pad byte
};

// The first top-level 'RIFF' chunk of formType. Its stated size may run past the end of the
// source (many writers get it wrong); it is then cut at the end of the source.
bool FindRiffForm(RiffSource& source, uint32_t formType, RiffChunk& out);

// The first chunk of id inside parent at or after from (a file offset); the search stops at a
// chunk that does not fit inside parent.
bool DescendRiffChunk(RiffSource& source, const RiffChunk& parent, uint64_t from, uint32_t id, RiffChunk& out);

// Where the chunk after chunk begins: past its contents and its pad byte.
uint64_t AscendRiffChunk(const RiffChunk& chunk);
