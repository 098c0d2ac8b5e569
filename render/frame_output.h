#pragma once
// Where the developer mode composes its picture while anything is drawn over it or read from it:
// an off-screen target of the production's size, which is read back for screenshots (the picture
// without the interface) and drawn into the window scaled to fit it, 1:1 when the window has the
// production's size.

#include <cstdint>
#include <vector>

#include <GL/glew.h>

class cScreenBuffer;

class FrameOutput {
 public:
  FrameOutput() = default;
  ~FrameOutput();
  FrameOutput(const FrameOutput&) = delete;
  FrameOutput& operator=(const FrameOutput&) = delete;

  // Needs a current GL context.
  void Create(int width, int height);
  void Destroy();

  GLuint Framebuffer() const;
  void Bind();
  // The composed picture: RGBA, top row first.
  std::vector<uint8_t> ReadPixels();
  // Draws the picture into the window (framebuffer 0) of windowWidth × windowHeight, as large as
  // fits with its aspect kept, on black; GL state is left as it was.
  void Present(int windowWidth, int windowHeight);
  // Where Present put the picture, in window pixels from the top left.
  struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
  };
  Placement PlacementIn(int windowWidth, int windowHeight) const;
  // The same within area of the window (the rest of it is left to panels).
  Placement PlacementInArea(const Placement& area) const;
  void PresentInArea(int windowWidth, int windowHeight, const Placement& area);

  int Width() const { return mWidth; }
  int Height() const { return mHeight; }

 private:
  cScreenBuffer* mBuffer = nullptr;
  int mWidth = 0;
  int mHeight = 0;
};
