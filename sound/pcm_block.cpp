#include "sound/pcm_block.h"

#include <cstdlib>
#include <utility>

PcmBlock::PcmBlock(PcmBlock&& other) noexcept
    : mData(std::exchange(other.mData, nullptr)), mSize(std::exchange(other.mSize, 0)) {}

PcmBlock& PcmBlock::operator=(PcmBlock&& other) noexcept {
  if (this != &other) {
    Free();
    mData = std::exchange(other.mData, nullptr);
    mSize = std::exchange(other.mSize, 0);
  }
  return *this;
}

bool PcmBlock::Allocate(size_t bytes) {
  Free();
  if (bytes == 0) return true;
  // calloc leaves untouched pages unmapped, so a long silent tail costs no memory.
  mData = static_cast<uint8_t*>(std::calloc(bytes, 1));
  if (!mData) return false;
  mSize = bytes;
  return true;
}

void PcmBlock::Free() {
  std::free(mData);
  mData = nullptr;
  mSize = 0;
}
