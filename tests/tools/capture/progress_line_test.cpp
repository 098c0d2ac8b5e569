#include <gtest/gtest.h>

#include "tests/tools/capture/capture_test_support.h"
#include "tests/support/test_paths.h"
#include "tools/capture/progress_line.h"

namespace {

TEST(ProgressLine, ShowsDoneRateElapsedAndTimeLeft) {
  EXPECT_EQ(ProgressText(120, 480, 8.0), "frame 120/480 (25%)  15.0 fps  elapsed 0:08  ETA 0:24");
  EXPECT_EQ(ProgressText(0, 480, 0.0), "frame 0/480 (0%)  0.0 fps  elapsed 0:00  ETA ?");
  EXPECT_EQ(ProgressText(480, 480, 3725.0), "frame 480/480 (100%)  0.1 fps  elapsed 1:02:05  ETA 0:00");
  EXPECT_EQ(FormatDuration(59.6), "1:00");
}

TEST(ProgressLine, EstimatesTheWholeRecordingFromItsFirstFrames) {
  EXPECT_EQ(EstimateText(90, 4724, 18.0), "torvane-tool capture: about 15:45 to record 4724 frames (5.0 fps over the first 90)");
  EXPECT_EQ(EstimateText(0, 4724, 18.0), "torvane-tool capture: about ? to record 4724 frames (0.0 fps over the first 0)");
}

// On a terminal the line is redrawn in place; elsewhere only the summary is printed.
TEST(ProgressLine, AppearsOnATerminalOnly) {
  ScratchFolder folder;
  std::string tool = BinaryPath("tools/torvane-tool");
  std::string command = tool + " capture --width 64 --height 36 --fps 30 --frames 0:20 --pack " + ProductionPack() +
                        " --music " + ProductionMusic() + " --out " + (folder / "tty.mkv");
  CommandResult onTerminal = RunCommand("/usr/bin/script", {"-qec", command, "/dev/null"});
  ASSERT_EQ(onTerminal.status, 0) << onTerminal.out;
  EXPECT_NE(onTerminal.out.find("\rframe 20/20 (100%)"), std::string::npos) << onTerminal.out;
  EXPECT_NE(onTerminal.out.find("torvane-tool capture: 20 frames (0 to 19)"), std::string::npos) << onTerminal.out;

  CommandResult piped = RunCommand(tool, {"capture", "--width", "64", "--height", "36", "--fps", "30", "--frames", "0:20",
                                          "--pack", ProductionPack(), "--music", ProductionMusic(), "--out", folder / "pipe.mkv"});
  ASSERT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(piped.err.find('\r'), std::string::npos) << piped.err;
  EXPECT_EQ(piped.err.rfind("torvane-tool capture: 20 frames (0 to 19) at 30 fps, 64x36, ffv1 + flac", 0), 0u) << piped.err;
  EXPECT_EQ(std::count(piped.err.begin(), piped.err.end(), '\n'), 1) << piped.err;
}

}  // namespace
