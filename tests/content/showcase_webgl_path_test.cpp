// The showcase drawn as the web build draws it, against the player's own drawing: a frame from
// every section, small, within one step per channel. Its effects read depths back into distances,
// decode RGBE skies and hash and grain their pixels, all of which magnify any difference between
// the two paths far beyond what the test production shows.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/png_reading.h"
#include "tests/support/run_command.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

// intro, tunnel, knot, city, stage with the swarm, the wireframe breakdown, finale, credits
const char* const TIMES = "5000,30000,60000,70000,95000,120000,140000,150000";

TEST(ShowcaseWebGlPath, EverySectionDrawsAsThePlayerDrawsIt) {
  const fs::path folder = fs::temp_directory_path() / ("torvane_showcase_webgl_" + std::to_string(::getpid()));
  const auto render = [&](const char* name, bool webgl) {
    std::vector<std::string> args = {"render", "--pack", BinaryPath("production/torvane.pak"), "--size", "160x90",
                                     "--fsaa",  "0",     "--at",   TIMES,                               "--out",
                                     (folder / name).string()};
    if (webgl) args.push_back("--webgl-path");
    return RunTool(args);
  };
  const CommandResult fixed = render("fixed", false);
  ASSERT_EQ(fixed.status, 0) << fixed.err;
  const CommandResult webgl = render("webgl", true);
  ASSERT_EQ(webgl.status, 0) << webgl.err;
  for (const auto& entry : fs::directory_iterator(folder / "fixed")) {
    const std::string frame = entry.path().filename().string();
    EXPECT_LE(LargestDifference(ReadPngFile(entry.path().string()), ReadPngFile((folder / "webgl" / frame).string())),
              1)
        << frame;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "fixed"), fs::directory_iterator()), 8);
  fs::remove_all(folder);
}

}  // namespace
