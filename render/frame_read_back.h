#pragma once
// Read-back of composed frames through a ring of pixel buffer objects: the copy of a frame starts
// right after it is composed and is collected frames later, so the GL thread goes on composing
// while the copy completes. Where pixel buffer objects are missing (a bare OpenGL 2.0 driver) a
// frame is read into memory at once instead; callers see no difference but the speed.

#include <cstdint>
#include <vector>

#include <GL/glew.h>

class FrameReadBack {
 public:
  FrameReadBack() = default;
  ~FrameReadBack();
  FrameReadBack(const FrameReadBack&) = delete;
  FrameReadBack& operator=(const FrameReadBack&) = delete;

  // Room for depth frames (at least 2) of width × height RGBA in flight. Needs a current context.
  void Create(int width, int height, int depth);
  void Destroy();

  // Starts copying the colour of the framebuffer bound for reading; false when depth frames are
  // already in flight (collect one first).
  bool Queue();
  // The oldest queued frame into pixels: RGBA, bottom row first. False when none is in flight.
  bool Collect(std::vector<uint8_t>& pixels);

  int InFlight() const { return mCount; }
  int Depth() const { return static_cast<int>(mSlots.size()); }
  bool UsesPixelBuffers() const { return !mBuffers.empty(); }

 private:
  size_t FrameBytes() const { return static_cast<size_t>(mWidth) * mHeight * 4; }

  int mWidth = 0;
  int mHeight = 0;
  std::vector<GLuint> mBuffers;                // pixel buffer objects, one per slot
  std::vector<std::vector<uint8_t>> mSlots;    // the frames read at once, without pixel buffers
  int mFirst = 0;                              // the oldest frame in flight
  int mCount = 0;
};
