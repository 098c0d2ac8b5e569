#pragma once
// A zero-filled block of PCM bytes that a decoder allocates and its caller owns.

#include <cstddef>
#include <cstdint>

class PcmBlock {
 public:
  PcmBlock() = default;
  ~PcmBlock() { Free(); }
  PcmBlock(PcmBlock&& other) noexcept;
  PcmBlock& operator=(PcmBlock&& other) noexcept;
  PcmBlock(const PcmBlock&) = delete;
  PcmBlock& operator=(const PcmBlock&) = delete;

  // Replaces the block with bytes zero bytes; false (and empty) when memory is short.
  bool Allocate(size_t bytes);
  void Free();

  uint8_t* Data() { return mData; }
  const uint8_t* Data() const { return mData; }
  size_t Size() const { return mSize; }

 private:
  uint8_t* mData = nullptr;
  size_t mSize = 0;
};
