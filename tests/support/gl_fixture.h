#pragma once
// GL tests: a hidden window with a current OpenGL 2 context, shared by the tests of one suite.
// Needs a display; the test command runs every test under Xvfb.

#include <cstdint>
#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "platform/hidden_gl_context.h"

class GLTest : public ::testing::Test {
 public:
  static constexpr int WIDTH = 64;
  static constexpr int HEIGHT = 64;

  static void SetUpTestSuite();
  static void TearDownTestSuite();

 protected:
  void SetUp() override;

  // RGBA bytes of the back buffer's pixel at (x, y), y counted from the bottom as GL does.
  static std::vector<uint8_t> ReadPixel(int x, int y);

  static platform::HiddenGLContext* sContext;
};
