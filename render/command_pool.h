#pragma once
// A bump-allocated block reserved once: recording takes bytes at the cursor, the frame's end
// rewinds it. Nothing is freed until Release().

#include <cstddef>
#include <cstdint>

constexpr size_t COMMAND_ALIGNMENT = 16;

struct CommandPool {
  uint8_t* mBegin = nullptr;
  uint8_t* mCursor = nullptr;
  uint8_t* mEnd = nullptr;
  uint32_t mCount = 0;  // records taken since the last rewind

  // Reserves capacity bytes, 16-byte aligned; a failed reservation is critical.
  void Reserve(size_t capacity);
  void Release();
  // size bytes at the cursor and one more record counted, or null when they do not fit.
  void* Take(size_t size);
  void Rewind();
  size_t Used() const { return static_cast<size_t>(mCursor - mBegin); }
};
