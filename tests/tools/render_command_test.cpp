// The headless renderer on a production with a broken effect: the picture falls back as the
// player's does, and the author is told which file and line failed.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/png_reading.h"
#include "tests/support/run_command.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

// The test production packed as its build packs it (its data and its converted models), with one
// of its material effects replaced by text; packed without the build, whose check would refuse it.
std::string PackWithEffect(const fs::path& folder, const std::string& effectText) {
  fs::remove_all(folder);
  fs::create_directories(folder / "stage/data/model");
  fs::copy(BinaryPath("content/test/data"), folder / "stage/data", fs::copy_options::recursive);
  for (const fs::directory_entry& model : fs::directory_iterator(SourcePath("content/test/models"))) {
    const fs::path cache = folder / "stage/data/model" / (model.path().stem().string() + ".bmdl");
    EXPECT_EQ(RunTool({"mqo2bmdl", model.path().string(), cache.string()}).status, 0) << model.path();
  }
  std::ofstream(folder / "stage/data/shader/glass.cgfx", std::ios::trunc) << effectText;
  std::string pack = (folder / "torvane.pak").string();
  CommandResult packed = RunTool({"pack", "create", pack, (folder / "stage").string()});
  EXPECT_EQ(packed.status, 0) << packed.err;
  return pack;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

CommandResult RenderAt(const std::string& pack, const fs::path& out) {
  return RunTool({"render", "--pack", pack, "--width", "64", "--height", "36", "--at", "3000", "--out", out.string()});
}

}  // namespace

TEST(RenderTool, ABrokenEffectIsLoggedWithItsFileAndLineAndThePictureFallsBack) {
  fs::path folder = fs::temp_directory_path() / ("torvane_render_" + std::to_string(::getpid()));
  std::string broken = PackWithEffect(folder / "broken",
                                      "// glass, half-edited\n"
                                      "uniform vec4 shMqoColor = vec4(1.0)\n"
                                      "void vsGlass() { gl_Position = ftransform(); }\n");
  CommandResult result = RenderAt(broken, folder / "frames");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("[effect] error: data\\shader\\glass.cgfx:2"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("[effect] warning: data\\shader\\glass.cgfx does not build; drawn with "
                            "data\\core\\shader\\dummyShader.cgfx instead"),
            std::string::npos)
      << result.err;
  EXPECT_TRUE(fs::exists(folder / "frames/frame_00003000.png"));

  std::string intact = PackWithEffect(folder / "intact", ReadSourceFile("content/test/data/shader/glass.cgfx"));
  CommandResult clean = RenderAt(intact, folder / "clean");
  EXPECT_EQ(clean.status, 0);
  EXPECT_EQ(clean.err.find("[effect]"), std::string::npos) << clean.err;
  fs::remove_all(folder);
}

// The tools never open a box, even on a display (the tests run on one): a critical error ends
// the command on stderr, with the line that says what is wrong.
TEST(RenderTool, ABrokenPackEndsOnStderrAloneWithAReadableLine) {
  fs::path folder = fs::temp_directory_path() / ("torvane_render_bad_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::string pack = (folder / "torvane.pak").string();
  std::ofstream(pack, std::ios::binary) << "PK\x03\x04 this is an archive of another kind";
  CommandResult result = RenderAt(pack, folder / "frames");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Critical error:[memcmp(mPackHeader.header, szHeader, strlen(szHeader))==0 + \"invalid header\"]\n"
                            "[pack] error: " + pack + ": not a pack file"),
            std::string::npos)
      << result.err;
  fs::remove_all(folder);
}

// The reference path: the frames drawn with every buffer, pass and clear are the frames the player
// draws, byte for byte, here with supersampling, bars and the flash over the glow. The two runs
// spell the frame size the two ways the tools accept.
TEST(RenderTool, EveryPassDrawsTheSameFrames) {
  fs::path folder = fs::temp_directory_path() / ("torvane_render_every_" + std::to_string(::getpid()));
  const std::string pack = BinaryPath("test-production/torvane.pak");
  const std::vector<std::string> common = {"render", "--pack", pack, "--fsaa", "4", "--aspect", "4:3", "--at", "1000,4250,7000"};
  std::vector<std::string> shortcut = common;
  shortcut.insert(shortcut.end(), {"--size", "96x54", "--out", (folder / "shortcut").string()});
  std::vector<std::string> every = common;
  every.insert(every.end(), {"--width", "96", "--height", "54", "--every-pass", "--out", (folder / "every").string()});
  ASSERT_EQ(RunTool(shortcut).status, 0);
  ASSERT_EQ(RunTool(every).status, 0);
  for (const char* frame : {"frame_00001000.png", "frame_00004250.png", "frame_00007000.png"}) {
    const std::string a = ReadFile(folder / "shortcut" / frame);
    EXPECT_FALSE(a.empty()) << frame;
    EXPECT_TRUE(a == ReadFile(folder / "every" / frame)) << frame;
  }
  fs::remove_all(folder);
}

// --webgl-path draws as the web build does: with supersampling and bars, each frame within one
// step per channel of the default path's (the drawing paths' own test says why).
TEST(RenderTool, TheWebGlPathDrawsTheSameFramesWithinOneStep) {
  fs::path folder = fs::temp_directory_path() / ("torvane_render_webgl_" + std::to_string(::getpid()));
  const std::string pack = BinaryPath("test-production/torvane.pak");
  const auto render = [&](const char* name, bool webgl) {
    std::vector<std::string> args = {"render", "--pack", pack,     "--fsaa", "4", "--aspect", "4:3", "--size", "96x54",
                                     "--at",   "1000,4250,7000", "--out",  (folder / name).string()};
    if (webgl) args.push_back("--webgl-path");
    return RunTool(args).status;
  };
  ASSERT_EQ(render("fixed", false), 0);
  ASSERT_EQ(render("webgl", true), 0);
  for (const char* frame : {"frame_00001000.png", "frame_00004250.png", "frame_00007000.png"}) {
    EXPECT_LE(LargestDifference(ReadPngFile((folder / "fixed" / frame).string()),
                                ReadPngFile((folder / "webgl" / frame).string())),
              1)
        << frame;
  }
  fs::remove_all(folder);
}

// Frames are written on a thread of their own while the next is composed: each file holds the
// frame of its own time, the same as when that frame is rendered alone, and each path is printed
// in the order asked. A folder that cannot be made is an error naming it.
TEST(RenderTool, FramesWrittenWhileOthersAreComposedAreTheFramesOfTheirTimes) {
  fs::path folder = fs::temp_directory_path() / ("torvane_render_queue_" + std::to_string(::getpid()));
  const std::string pack = BinaryPath("test-production/torvane.pak");
  auto render = [&](const std::string& times, const fs::path& out) {
    return RunTool({"render", "--pack", pack, "--width", "96", "--height", "54", "--fsaa", "2", "--at", times, "--out", out.string()});
  };
  const CommandResult together = render("7000,1000,4250", folder / "together");
  ASSERT_EQ(together.status, 0) << together.err;
  EXPECT_EQ(together.out, (folder / "together/frame_00007000.png").string() + "\n" + (folder / "together/frame_00001000.png").string() +
                              "\n" + (folder / "together/frame_00004250.png").string() + "\n");
  for (const char* time : {"1000", "4250", "7000"}) {
    ASSERT_EQ(render(time, folder / time).status, 0);
    const std::string name = std::string("frame_0000") + time + ".png";
    const std::string alone = ReadFile(folder / time / name);
    EXPECT_FALSE(alone.empty()) << name;
    EXPECT_TRUE(alone == ReadFile(folder / "together" / name)) << name;
  }

  std::ofstream(folder / "not-a-folder") << "a file";
  const CommandResult blocked = render("1000", folder / "not-a-folder");
  EXPECT_EQ(blocked.status, 1);
  EXPECT_NE(blocked.err.find((folder / "not-a-folder").string()), std::string::npos) << blocked.err;
  fs::remove_all(folder);
}
