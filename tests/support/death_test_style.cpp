#include <gtest/gtest.h>

// Death tests re-run the test binary rather than fork a process that may hold GL or audio threads.
static const bool kThreadsafeDeathTests = [] {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  return true;
}();
