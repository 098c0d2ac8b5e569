#include <gtest/gtest.h>

#include "tests/support/gl_fixture.h"

namespace {

using HiddenGLContextTest = GLTest;

TEST_F(HiddenGLContextTest, GivesAnOpenGL2ContextWithDepthThatDrawsIntoTheBackBuffer) {
  EXPECT_TRUE(GLEW_VERSION_2_0);
  GLint depthBits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  EXPECT_GE(depthBits, 16);
  glClearColor(1.0f, 0.5f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  std::vector<uint8_t> pixel = ReadPixel(3, 5);
  EXPECT_EQ(pixel[0], 255);
  EXPECT_NEAR(pixel[1], 128, 1);
  EXPECT_EQ(pixel[2], 0);
}

}  // namespace
