// Windows that switch the display mode: run alone, since a mode switch reaches every window on
// the display.
#include <gtest/gtest.h>

#include "platform/display.h"
#include "tests/window/window_gl_test.h"
#include "window/window_gl.h"

namespace {

TEST_F(WindowGLTest, GammaInAWindowIsRefusedAndFullScreenTwiceFailsTheSecondTime) {
  int desktopWidth = 0;
  int desktopHeight = 0;
  ASSERT_TRUE(platform::DesktopSize(&desktopWidth, &desktopHeight));
  CWindowGL window;
  ASSERT_TRUE(window.Create("full", platform::WINDOW_STYLE_POPUP, 0, 0, desktopWidth, desktopHeight));
  EXPECT_FALSE(window.SetGamma(1.2f)) << "windowed mode never changes the ramp";
  EXPECT_EQ(window.GetGamma(), 0.0f);
  ASSERT_TRUE(window.FullScreenOn());
  EXPECT_TRUE(window.IsFullScreen());
  EXPECT_FALSE(window.FullScreenOn());
  EXPECT_TRUE(window.FullScreenOff());
  EXPECT_FALSE(window.FullScreenOff());
}

TEST_F(WindowGLTest, FullScreenAtASizeTheDisplayDoesNotOfferFailsAndKeepsTheWindow) {
  CWindowGL window;
  ASSERT_TRUE(window.Create("odd", platform::WINDOW_STYLE_POPUP, 0, 0, 333, 222));
  EXPECT_FALSE(window.FullScreenOn());
  EXPECT_FALSE(window.IsFullScreen());
}

}  // namespace
