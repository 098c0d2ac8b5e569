#include <cstdio>

#include <gtest/gtest.h>

#include "core/critical.h"
#include "tests/support/critical_exit.h"

namespace {

struct NoisyDestructor {
  ~NoisyDestructor() { std::fputs("destructor ran\n", stderr); }
};

using CriticalDeathTest = ::testing::Test;

TEST_F(CriticalDeathTest, AFalseCheckShowsTheTextAndExitsAtOnce) {
  EXPECT_CRITICAL_EXIT(CoreDebug::Check(false, CRITICAL_FILE_NOT_FOUND), "Critical error:[isFound + \"file not found.\"]");
  EXPECT_CRITICAL_EXIT(CoreCheck(false, CRITICAL_DUMMY_SHADER), "Critical error:[0 + \"failed to load dummy shader.\"]");
}

TEST_F(CriticalDeathTest, NoDestructorRunsOnTheWayOut) {
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        static NoisyDestructor staticObject;
        NoisyDestructor localObject;
        CoreFatal("the end");
      },
      ::testing::ExitedWithCode(platform::FATAL_EXIT_STATUS), ::testing::Not(::testing::HasSubstr("destructor ran")));
}

}  // namespace
