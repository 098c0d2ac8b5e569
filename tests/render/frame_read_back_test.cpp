// The read-back ring: frames come back oldest first, whole and bottom row first, with at most its
// depth in flight, round and round.
#include "render/frame_read_back.h"
#include "tests/support/gl_fixture.h"

namespace {

class FrameReadBackGL : public GLTest {
 protected:
  // Clears the back buffer to a grey of the given level, with a white bottom row.
  static void Draw(uint8_t level) {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(level / 255.0f, level / 255.0f, level / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, WIDTH, 1);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
  }
};

TEST_F(FrameReadBackGL, GivesFramesBackInOrderWithAtMostItsDepthInFlight) {
  FrameReadBack readBack;
  readBack.Create(WIDTH, HEIGHT, 3);
  EXPECT_EQ(readBack.Depth(), 3);
  EXPECT_TRUE(readBack.UsesPixelBuffers()) << "Mesa offers pixel buffer objects";
  std::vector<uint8_t> pixels;
  EXPECT_FALSE(readBack.Collect(pixels)) << "nothing queued yet";
  uint8_t next = 10;
  uint8_t expected = 10;
  // Seven frames through a ring of three: keep it full, collect one before each further queue.
  for (int frame = 0; frame < 7; ++frame) {
    if (readBack.InFlight() == readBack.Depth()) {
      Draw(250);
      EXPECT_FALSE(readBack.Queue()) << "a full ring takes no more";
      ASSERT_TRUE(readBack.Collect(pixels));
      ASSERT_EQ(pixels.size(), static_cast<size_t>(WIDTH) * HEIGHT * 4);
      EXPECT_EQ(pixels[0], 255) << "the bottom row comes first";
      EXPECT_EQ(pixels[WIDTH * 4 * (HEIGHT - 1)], expected) << "frame " << frame;
      expected += 10;
    }
    Draw(next);
    ASSERT_TRUE(readBack.Queue());
    next += 10;
  }
  while (readBack.Collect(pixels)) {
    EXPECT_EQ(pixels[WIDTH * 4 * (HEIGHT - 1)], expected);
    expected += 10;
  }
  EXPECT_EQ(expected, next);
  EXPECT_EQ(readBack.InFlight(), 0);
}

TEST_F(FrameReadBackGL, KeepsAtLeastTwoInFlight) {
  FrameReadBack readBack;
  readBack.Create(WIDTH, HEIGHT, 1);
  EXPECT_EQ(readBack.Depth(), 2);
  Draw(40);
  EXPECT_TRUE(readBack.Queue());
  Draw(80);
  EXPECT_TRUE(readBack.Queue());
  std::vector<uint8_t> pixels;
  ASSERT_TRUE(readBack.Collect(pixels));
  EXPECT_EQ(pixels[WIDTH * 4 * 10], 40);
}

}  // namespace
