#include <cstdlib>

#include <gtest/gtest.h>

namespace {

// Every test process: death tests re-run the test binary rather than fork a process that may
// hold GL or audio threads. Set once the tests are about to run: a flag set during static
// initialisation may be overwritten by the flag's own initialiser (and its text leaked).
class TestEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

// Audio goes to SDL's silent driver unless a test asks for another.
const bool SILENT_AUDIO = [] {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  return true;
}();

::testing::Environment* const ENVIRONMENT = ::testing::AddGlobalTestEnvironment(new TestEnvironment);

}  // namespace
