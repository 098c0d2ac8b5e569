#pragma once
// Death-test helpers for the critical check: the exact text on stderr and the non-zero status.

#include <cstdlib>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/fatal.h"

// Runs statement in a child without a display (so no message box can block) and expects the
// process to end with the fatal status, its stderr matching matcher.
#define EXPECT_FATAL_EXIT_WITHOUT_DISPLAY(statement, matcher) \
  EXPECT_EXIT(                                                \
      {                                                       \
        unsetenv("DISPLAY");                                  \
        unsetenv("WAYLAND_DISPLAY");                          \
        statement;                                            \
      },                                                      \
      ::testing::ExitedWithCode(platform::FATAL_EXIT_STATUS), matcher)

// Expects the critical end after writing exactly text as one line on stderr.
#define EXPECT_CRITICAL_EXIT(statement, text) \
  EXPECT_FATAL_EXIT_WITHOUT_DISPLAY(statement, ::testing::HasSubstr(std::string(text) + "\n"))

// As EXPECT_CRITICAL_EXIT, with the text followed at once by the readable line the subsystem logs,
// which holds detail.
#define EXPECT_CRITICAL_EXIT_SAYING(statement, text, subsystem, detail)                                 \
  EXPECT_FATAL_EXIT_WITHOUT_DISPLAY(                                                                    \
      statement, ::testing::AllOf(::testing::HasSubstr(std::string(text) + "\n[" + (subsystem) + "] error: "), \
                                  ::testing::HasSubstr(detail)))
