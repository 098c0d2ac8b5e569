#include "sound/stream_segments.h"

#include <algorithm>

uint32_t StreamSegmentBytes(const WaveFormat& format) {
  uint64_t bytes = static_cast<uint64_t>(STREAM_BUFFER_SECONDS) * format.averageBytesPerSecond / STREAM_SEGMENT_COUNT;
  if (format.blockAlign != 0) bytes -= bytes % format.blockAlign;
  return static_cast<uint32_t>(bytes);
}

uint32_t PlayStartBytes(uint32_t ms, const WaveFormat& format) {
  uint64_t bytes = static_cast<uint64_t>(ms) * format.averageBytesPerSecond / 1000;
  uint32_t align = format.blockAlign;
  if (align != 0) {
    uint64_t remainder = bytes % align;
    bytes = remainder * 2 > align ? bytes + (align - remainder) : bytes - remainder;
  }
  return static_cast<uint32_t>(std::min<uint64_t>(bytes, UINT32_MAX));
}

bool SegmentDue(uint32_t playCursor, uint32_t writeOffset, uint32_t segmentBytes) {
  uint64_t bufferBytes = static_cast<uint64_t>(segmentBytes) * STREAM_SEGMENT_COUNT;
  if (bufferBytes == 0) return false;
  uint64_t ahead = (static_cast<uint64_t>(playCursor) + segmentBytes / 2) % bufferBytes;
  if (ahead < writeOffset) return false;
  bool cursorBeforeWrap = ahead >= bufferBytes - static_cast<uint64_t>(segmentBytes) * (STREAM_SEGMENT_COUNT / 2);
  return !(writeOffset == 0 && cursorBeforeWrap);
}
