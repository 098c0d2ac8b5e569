#pragma once
// The arithmetic of the streaming ring buffer: segment size, where a play request starts, and
// when the next segment is due.

#include <cstdint>

#include "sound/wave_format.h"

inline constexpr uint32_t STREAM_SEGMENT_COUNT = 12;
inline constexpr uint32_t STREAM_BUFFER_SECONDS = 3;
// Sounds with less PCM than this are decoded whole into one static buffer.
inline constexpr uint32_t STATIC_SOUND_LIMIT = 1048576;

// STREAM_BUFFER_SECONDS of sound split into STREAM_SEGMENT_COUNT, rounded down to whole blocks.
uint32_t StreamSegmentBytes(const WaveFormat& format);

// The PCM byte at which playing from ms starts: truncated to a byte, then rounded to the nearest
// whole block (a remainder of exactly half a block rounds down).
uint32_t PlayStartBytes(uint32_t ms, const WaveFormat& format);

// Whether the segment at writeOffset must be written now: the play cursor is within half a
// segment of it. A writeOffset of 0 waits while the cursor is still in the second half of the
// buffer, before it wraps.
bool SegmentDue(uint32_t playCursor, uint32_t writeOffset, uint32_t segmentBytes);
