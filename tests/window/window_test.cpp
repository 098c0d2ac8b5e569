#include <GL/glew.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/display.h"
#include "platform/events.h"
#include "render/renderer_manager.h"
#include "tests/support/png_reading.h"
#include "tests/window/window_gl_test.h"
#include "window/perspective.h"
#include "window/window_gl.h"

namespace {

TEST(GammaRamp, OneIsLinearTwoIsFlatAndValuesOutsideAreClamped) {
  platform::GammaRamp ramp;
  BuildGammaRamp(1.0f, &ramp);
  EXPECT_EQ(ramp.red[255], 65535);
  EXPECT_EQ(ramp.green[127], 32768);  // 128/256 × 65535 + 0.5
  EXPECT_EQ(ramp.blue[0], 256);
  BuildGammaRamp(2.0f, &ramp);
  EXPECT_EQ(ramp.red[0], 65535);
  EXPECT_EQ(ramp.red[100], 65535);
  platform::GammaRamp clamped;
  BuildGammaRamp(7.5f, &clamped);
  EXPECT_EQ(clamped.red[0], 65535);
  BuildGammaRamp(-3.0f, &clamped);
  BuildGammaRamp(0.0f, &ramp);
  EXPECT_EQ(clamped.red[10], ramp.red[10]);
  EXPECT_EQ(ramp.red[127], 16384);  // (1/2)^2
  BuildGammaRamp(1.2f, &ramp);
  EXPECT_GT(ramp.red[127], 32768) << "Big Screen brightens";
}

TEST(Perspective, HalfAngleTangentTimesNearGivesTheBounds) {
  FrustumBounds f = PerspectiveFrustum(90.0, 2.0, 0.5, 100.0);
  EXPECT_NEAR(f.top, 0.5, 1e-9);
  EXPECT_NEAR(f.bottom, -0.5, 1e-9);
  EXPECT_NEAR(f.right, 1.0, 1e-9);
  EXPECT_NEAR(f.left, -1.0, 1e-9);
  EXPECT_EQ(f.zNear, 0.5);
  EXPECT_EQ(f.zFar, 100.0);
}

TEST(WindowCreation, WithoutAWindowSystemCreateSaysWhichStepFailedAndReturnsFalse) {
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
        CWindowGL window;
        bool created = window.Create(WINDOW_TITLE, platform::WINDOW_STYLE_POPUP, 0, 0, 64, 64);
        std::exit(created || window.GetPlatformWindow() ? 3 : 4);
      },
      ::testing::ExitedWithCode(4), ::testing::HasSubstr(std::string("Error: ") + TEXT_REGISTER_CLASS_FAILED + "\n"));
}

TEST_F(WindowGLTest, CenteredCreationGivesAHiddenCentredWindowWithACurrentContext) {
  int desktopWidth = 0;
  int desktopHeight = 0;
  ASSERT_TRUE(platform::DesktopSize(&desktopWidth, &desktopHeight));
  CWindowGL window;
  ASSERT_TRUE(window.CreateCentered(320, 200));
  EXPECT_EQ(window.GetWidth(), 320);
  EXPECT_EQ(window.GetHeight(), 200);
  EXPECT_FALSE(platform::IsWindowShown(window.GetPlatformWindow()));
  int x = 0;
  int y = 0;
  platform::GetWindowPosition(window.GetPlatformWindow(), &x, &y);
  EXPECT_EQ(x, (desktopWidth - 320) / 2);
  EXPECT_EQ(y, (desktopHeight - 200) / 2);
  GLint depthBits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  EXPECT_GE(depthBits, 16);
  GLint redBits = 0;
  glGetIntegerv(GL_RED_BITS, &redBits);
  EXPECT_EQ(redBits, 8);
}

// Mesa's software rasteriser on Xvfb reads the front buffer back empty, so the frame is captured
// from the back buffer before it is presented.
TEST_F(WindowGLTest, CaptureScreenWritesTheFrameTopRowFirstAndOpaque) {
  CWindowGL window;
  ASSERT_TRUE(window.CreateCentered(96, 64));
  platform::ShowWindow(window.GetPlatformWindow());
  WaitUntilMapped();
  ASSERT_TRUE(GLEW_VERSION_2_0 || glewInit() == GLEW_OK);
  glViewport(0, 0, 96, 64);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_SCISSOR_TEST);
  glClearColor(0, 0, 1, 0.25f);  // bottom half blue, translucent
  glClear(GL_COLOR_BUFFER_BIT);
  glScissor(0, 32, 96, 32);
  glClearColor(1, 0, 0, 0.5f);  // top half red
  glClear(GL_COLOR_BUFFER_BIT);
  glScissor(0, 0, 1, 1);
  glClearColor(0, 1, 0, 1);  // the bottom-left pixel green
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  gRendererManager.SetScreenSize(96, 64);
  gRendererManager.SetCaptureBuffer(GL_BACK);
  std::string path = "/tmp/torvane-capture-" + std::to_string(getpid()) + ".png";
  bool captured = gRendererManager.CaptureScreen(path.c_str());
  gRendererManager.SetCaptureBuffer(GL_FRONT);
  GLint readBuffer = 0;
  glGetIntegerv(GL_READ_BUFFER, &readBuffer);
  EXPECT_EQ(readBuffer, GL_BACK) << "the read buffer is put back";
  ASSERT_TRUE(captured);
  DecodedPng png = ReadPngFile(path);
  std::remove(path.c_str());
  ASSERT_TRUE(png.ok);
  ASSERT_EQ(png.width, 96);
  ASSERT_EQ(png.height, 64);
  EXPECT_EQ(png.Pixel(50, 0)[0], 255) << "top row is the top of the screen";
  EXPECT_EQ(png.Pixel(50, 0)[2], 0);
  EXPECT_EQ(png.Pixel(50, 63)[2], 255);
  EXPECT_EQ(png.Pixel(0, 63)[1], 255) << "bottom-left pixel";
  EXPECT_EQ(png.Pixel(95, 63)[1], 0);
  for (int y = 0; y < png.height; y += 7)
    for (int x = 0; x < png.width; x += 5) ASSERT_EQ(png.Pixel(x, y)[3], 255) << x << "," << y;
  EXPECT_EQ(png.text["Description"], "cTexture::writeToFile()");
}

}  // namespace
