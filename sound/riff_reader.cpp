#include "sound/riff_reader.h"

#include <algorithm>

namespace {

constexpr uint64_t RIFF_HEADER_BYTES = 8;

uint32_t LittleEndian32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

bool ReadChunkHeader(RiffSource& source, uint64_t offset, RiffChunk& out) {
  uint8_t header[RIFF_HEADER_BYTES];
  if (!source.ReadAt(offset, header, sizeof header)) return false;
  out = RiffChunk{};
  out.id = LittleEndian32(header);
  out.size = LittleEndian32(header + 4);
  out.dataOffset = offset + RIFF_HEADER_BYTES;
  out.end = out.dataOffset + out.size;
  return true;
}

}  // namespace

uint64_t AscendRiffChunk(const RiffChunk& chunk) { return chunk.end + (chunk.end & 1); }

bool FindRiffForm(RiffSource& source, uint32_t formType, RiffChunk& out) {
  RiffChunk chunk;
  for (uint64_t at = 0; ReadChunkHeader(source, at, chunk); at = AscendRiffChunk(chunk)) {
    uint8_t form[4];
    if (chunk.id == RIFF_ID_RIFF && chunk.size >= 4 && source.ReadAt(chunk.dataOffset, form, 4) &&
        LittleEndian32(form) == formType) {
      chunk.formType = formType;
      chunk.dataOffset += 4;
      chunk.end = std::min(chunk.end, source.Size());
      out = chunk;
      return true;
    }
  }
  return false;
}

bool DescendRiffChunk(RiffSource& source, const RiffChunk& parent, uint64_t from, uint32_t id, RiffChunk& out) {
  RiffChunk chunk;
  for (uint64_t at = std::max(from, parent.dataOffset); at + RIFF_HEADER_BYTES <= parent.end;
       at = AscendRiffChunk(chunk)) {
    if (!ReadChunkHeader(source, at, chunk) || chunk.end > parent.end) return false;
    if (chunk.id == id) {
      out = chunk;
      return true;
    }
  }
  return false;
}
