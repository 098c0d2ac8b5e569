#pragma once
// A fixture for tests of real windows with GL contexts: video started and stopped around each.

#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/events.h"
#include "platform/window.h"

class WindowGLTest : public ::testing::Test {
 protected:
  // The front buffer of a window holds what was presented only once the window is on screen.
  static void WaitUntilMapped() {
    for (int i = 0; i < 50; ++i) {
      platform::Event event;
      while (platform::PollEvent(&event)) {
      }
      usleep(4000);
    }
  }

  void SetUp() override { ASSERT_TRUE(platform::StartVideo()) << platform::LastWindowError(); }
  void TearDown() override { platform::StopVideo(); }
};
