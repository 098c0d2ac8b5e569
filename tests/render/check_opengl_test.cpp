// The OpenGL 2.0 probe as the player runs it, in a program of its own so that the fatal end can
// be watched from outside.
#include <cstdlib>

#include <gtest/gtest.h>

#include "core/critical.h"
#include "tests/support/test_paths.h"
#include "tests/support/x_driver.h"

namespace {

constexpr int PROBE_TIMEOUT_MS = 20000;

TEST(CheckOpenGL, PassesWhereOpenGL2IsThere) {
  BackgroundProgram probe(BinaryPath("tests/render/check_opengl_probe"), "/tmp");
  EXPECT_EQ(probe.WaitForExit(PROBE_TIMEOUT_MS), 0) << probe.ErrorOutput();
}

TEST(CheckOpenGL, ADriverBelowOpenGL2EndsTheProgramWithTheFatalText) {
  setenv("MESA_GL_VERSION_OVERRIDE", "1.5", 1);
  BackgroundProgram probe(BinaryPath("tests/render/check_opengl_probe"), "/tmp");
  unsetenv("MESA_GL_VERSION_OVERRIDE");
  // Return answers the box once it is on screen; a box still being laid out may miss it.
  for (int attempt = 0; attempt < 10 && probe.IsRunning(); ++attempt) {
    std::string box = WaitForBoxWindow(PROBE_TIMEOUT_MS / 10);
    if (box.empty()) continue;
    WindowGeometry g = GetWindowGeometry(box);
    MoveMouse(g.x + g.width / 2, g.y + g.height / 2);
    PressKeys({"Return"});
    SleepMs(500);
  }
  EXPECT_EQ(probe.WaitForExit(PROBE_TIMEOUT_MS), 1);
  EXPECT_TRUE(LastLineIs(probe.ErrorOutput(), FATAL_NO_OPENGL_2)) << probe.ErrorOutput();
}

}  // namespace
