// Bad input to capture: a clear message, a non-zero exit and nothing left under the output's
// name (nor a temporary beside it).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"
#include "tests/tools/capture/capture_test_support.h"

namespace {

struct FailureCase {
  const char* what;
  std::vector<std::string> args;  // after --pack and --music, with OUT standing for the output
  int status;
  std::string message;
};

std::vector<std::string> WithOutput(const std::vector<std::string>& args, const std::string& out) {
  std::vector<std::string> result;
  for (const std::string& arg : args) result.push_back(arg == "OUT" ? out : arg);
  return result;
}

TEST(CaptureFailure, BadInputGivesAMessageAndLeavesNothing) {
  ScratchFolder folder;
  WriteTextFile(folder / "broken.pak", "not a pack at all");
  WriteTextFile(folder / "noise.ogg", "neither RIFF nor Ogg");
  const std::string pack = ProductionPack();
  const std::string music = ProductionMusic();
  const std::vector<FailureCase> cases = {
      {"unknown codec", {"--pack", pack, "--music", music, "--codec", "vp9", "--out", "OUT.mp4"}, 2, "unknown codec"},
      {"unknown container", {"--pack", pack, "--music", music, "--out", "OUT.xyz"}, 1, "no container"},
      {"codec the container cannot hold", {"--pack", pack, "--music", music, "--codec", "ffv1", "--audio", "aac", "--out", "OUT.mp4"},
       1, "cannot hold"},
      {"a file where the folder should be", {"--pack", pack, "--music", music, "--out", folder / "broken.pak/a.mp4"}, 1,
       "cannot make the folder " + folder / "broken.pak: " + folder / "broken.pak is not a folder"},
      {"missing music", {"--pack", pack, "--music", "OUT.ogg", "--out", "OUT.mkv"}, 1, "no music file"},
      {"undecodable music", {"--pack", pack, "--music", folder / "noise.ogg", "--out", "OUT.mkv"}, 1,
       "neither RIFF WAVE nor Ogg Vorbis"},
      {"missing pack", {"--pack", "OUT.pak", "--music", music, "--out", "OUT.mkv"}, 1, "no pack"},
      {"broken pack", {"--pack", folder / "broken.pak", "--music", music, "--out", "OUT.mkv"}, 1, "invalid header"},
      {"part past the end", {"--pack", pack, "--music", music, "--frames", "300:400", "--out", "OUT.mkv"}, 1, "holds no frame"},
  };
  for (const FailureCase& c : cases) {
    CommandResult result = Capture(WithOutput(c.args, folder / "out"));
    EXPECT_EQ(result.status, c.status) << c.what;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << c.what << ": " << result.err;
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"broken.pak", "noise.ogg"})) << c.what;
  }
}

// A file size limit stands in for a full disk: writes fail part-way through.
TEST(CaptureFailure, AFullDiskGivesAMessageAndLeavesNothing) {
  ScratchFolder folder;
  std::string command = "trap '' XFSZ; ulimit -f 256; exec \"$0\" \"$@\"";
  CommandResult result = RunCommand("/bin/sh", {"-c", command, BinaryPath("tools/torvane-tool"), "capture", "--width", "320",
                                                "--height", "180", "--fps", "30", "--quiet", "--pack", ProductionPack(),
                                                "--music", ProductionMusic(), "--out", folder / "full.mkv"});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("File too large"), std::string::npos) << result.err;
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(CaptureFailure, CtrlCStopsTheCaptureAndLeavesNothing) {
  ScratchFolder folder;
  std::string out = folder / "stopped.mkv";
  pid_t child = fork();
  if (child == 0) {
    std::string tool = BinaryPath("tools/torvane-tool");
    execl(tool.c_str(), tool.c_str(), "capture", "--width", "320", "--height", "180", "--fps", "60", "--quiet", "--pack",
          ProductionPack().c_str(), "--music", ProductionMusic().c_str(), "--out", out.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ASSERT_GT(child, 0);
  // Wait for the temporary file to grow: frames are being stored.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  bool storing = false;
  while (!storing && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
      std::error_code ignored;
      storing = storing || std::filesystem::file_size(entry.path(), ignored) > 100000;
    }
  }
  kill(child, SIGINT);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(storing) << "the capture never got going";
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130);
  EXPECT_TRUE(folder.Entries().empty());
}

}  // namespace
