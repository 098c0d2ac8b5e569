// Every test of the desktop suite runs on a display of its own: keys and clicks cannot reach
// the windows of tests running beside it.
#include <gtest/gtest.h>

#include "tests/support/x_driver.h"

namespace {

// Keys and clicks go to a display of the suite's own.
class PrivateDisplay : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(StartPrivateDisplay()); }
  void TearDown() override { StopPrivateDisplay(); }
};

const auto* const gPrivateDisplay = ::testing::AddGlobalTestEnvironment(new PrivateDisplay);

}  // namespace
