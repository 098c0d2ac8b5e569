#include <cstdlib>

#include <gtest/gtest.h>

// Every test process: death tests re-run the test binary rather than fork a process that may
// hold GL or audio threads, and audio goes to SDL's silent driver unless a test asks for another.
static const bool TEST_ENVIRONMENT = [] {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  return true;
}();
