// What libraries print on their own is set aside for the log; the program's own lines are not.
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/library_noise.h"

namespace {

std::vector<std::string> gNoise;

void Keep(const char* line) { gNoise.push_back(line); }

void WriteToStderr(const char* text) { ASSERT_EQ(write(STDERR_FILENO, text, std::strlen(text)), ssize_t(std::strlen(text))); }

TEST(LibraryNoise, GoesToTheSinkWhileTheProgramsOwnLinesStay) {
  gNoise.clear();
  const platform::LibraryNoiseSink before = platform::SetLibraryNoiseSink(Keep);
  testing::internal::CaptureStderr();
  platform::WithLibraryNoiseSetAside([] {
    WriteToStderr("ALSA lib confmisc.c:855:(parse_card) cannot find card '0'\n");
    WriteToStderr("[dev] warning: no sound device: playing without sound\n");
    WriteToStderr("error: XDG_RUNTIME_DIR is invalid or not set in the environment.");
  });
  WriteToStderr("after\n");
  const std::string shown = testing::internal::GetCapturedStderr();
  platform::SetLibraryNoiseSink(before);
  EXPECT_EQ(shown, "[dev] warning: no sound device: playing without sound\nafter\n");
  EXPECT_EQ(gNoise, (std::vector<std::string>{"ALSA lib confmisc.c:855:(parse_card) cannot find card '0'",
                                              "error: XDG_RUNTIME_DIR is invalid or not set in the environment."}));
}

}  // namespace
