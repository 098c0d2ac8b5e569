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
  EXPECT_GE(AnswerBoxes(probe, PROBE_TIMEOUT_MS), 1) << "the fatal text is shown in a box";
  EXPECT_EQ(probe.WaitForExit(PROBE_TIMEOUT_MS), 1);
  EXPECT_TRUE(LastLineIs(probe.ErrorOutput(), FATAL_NO_OPENGL_2)) << probe.ErrorOutput();
}

}  // namespace
