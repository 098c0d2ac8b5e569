#include "render/command_pool.h"

#include <cstdlib>

#include "core/critical.h"

void CommandPool::Reserve(size_t capacity) {
  Release();
  size_t rounded = (capacity + COMMAND_ALIGNMENT - 1) / COMMAND_ALIGNMENT * COMMAND_ALIGNMENT;
  mBegin = static_cast<uint8_t*>(std::aligned_alloc(COMMAND_ALIGNMENT, rounded));
  CoreCheck(mBegin != nullptr, CRITICAL_BAD_ALLOC);
  mCursor = mBegin;
  mEnd = mBegin + capacity;
  mCount = 0;
}

void CommandPool::Release() {
  std::free(mBegin);
  mBegin = mCursor = mEnd = nullptr;
  mCount = 0;
}

void* CommandPool::Take(size_t size) {
  if (!mCursor || size > static_cast<size_t>(mEnd - mCursor)) return nullptr;
  void* place = mCursor;
  mCursor += size;
  ++mCount;
  return place;
}

void CommandPool::Rewind() {
  mCursor = mBegin;
  mCount = 0;
}
