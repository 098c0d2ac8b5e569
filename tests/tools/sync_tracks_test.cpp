// Sync tracks end to end through the tools: the worked example of docs/sync.md checks clean and
// renders its keyed constant as the track says; a production that keys nothing renders byte for
// byte as before; the checker names each doubtful binding and key with its file and line.
#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/marked_examples.h"
#include "tests/support/run_command.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_paths.h"

namespace {

namespace fs = std::filesystem;

constexpr char MARK[] = "<!-- sync example: ";
constexpr char VIGNETTE_CONSTANT[] = "<ConstantEntry param=\"strength\" type=\"float\" value=\"0.7\"";

std::map<std::string, std::string> SyncExamples() {
  const MarkedExamples found = FindMarkedExamples(ReadSourceFile("docs/sync.md"), MARK);
  return std::map<std::string, std::string>(found.examples.begin(), found.examples.end());
}

class SyncTracksTool : public ::testing::Test {
 protected:
  fs::path NewProduction(const std::string& name) {
    const fs::path production = mFolder.Path() / name;
    EXPECT_EQ(RunTool({"new", production.string()}).status, 0);
    return production;
  }

  static void ReplaceInFile(const fs::path& file, const std::string& from, const std::string& to) {
    std::string text = ReadTextFile(file);
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from << " not in " << file;
    text.replace(at, from.size(), to);
    ASSERT_TRUE(WriteTextFile(file, text));
  }

  // The PNG bytes of production's frame at ms, built and rendered small.
  std::string FrameOf(const fs::path& production, int ms) {
    const fs::path out = mFolder.Path() / (production.filename().string() + "_out");
    CommandResult build = RunTool({"build", production.string(), "--out", out.string()});
    EXPECT_EQ(build.status, 0) << build.out << build.err;
    const fs::path frames = out / "frames";
    CommandResult render = RunTool({"render", "--pack", (out / "torvane.pak").string(), "--width", "64", "--height",
                                    "36", "--at", std::to_string(ms), "--out", frames.string()});
    EXPECT_EQ(render.status, 0) << render.err;
    char name[32];
    std::snprintf(name, sizeof name, "frame_%08d.png", ms);
    return ReadTextFile(frames / name);
  }

  TemporaryFolder mFolder;
};

TEST_F(SyncTracksTool, TheWorkedExampleChecksCleanAndRendersTheKeyedValue) {
  const fs::path keyed = NewProduction("keyed");
  const std::map<std::string, std::string> examples = SyncExamples();
  ASSERT_EQ(examples.size(), 2u);
  for (const auto& [path, text] : examples) ASSERT_TRUE(WriteTextFile(keyed / path, text));
  CommandResult check = RunTool({"check", keyed.string()});
  EXPECT_EQ(check.status, 0) << check.out;
  EXPECT_NE(check.out.find("0 errors, 0 warnings"), std::string::npos) << check.out;

  // Row 16 of the example is halfway along its linear segment: 1.5.
  const fs::path written = NewProduction("written");
  ReplaceInFile(written / "data/definition/postEffectDefine.xml", "value=\"0.7\"", "value=\"1.5\"");
  const fs::path plain = NewProduction("plain");
  const std::string keyedFrame = FrameOf(keyed, 1000);
  ASSERT_FALSE(keyedFrame.empty());
  EXPECT_EQ(keyedFrame, FrameOf(written, 1000));
  EXPECT_NE(keyedFrame, FrameOf(plain, 1000));
}

TEST_F(SyncTracksTool, WithoutBindingsOrWithoutTheFileFramesAreAsBefore) {
  const std::map<std::string, std::string> examples = SyncExamples();
  const fs::path plain = NewProduction("plain");
  // Tracks, but no constant names one.
  const fs::path unbound = NewProduction("unbound");
  ASSERT_TRUE(WriteTextFile(unbound / "data/sync/tracks.xml", examples.at("data/sync/tracks.xml")));
  // A constant names a track, but there are no tracks.
  const fs::path untracked = NewProduction("untracked");
  ReplaceInFile(untracked / "data/definition/postEffectDefine.xml", VIGNETTE_CONSTANT,
                std::string(VIGNETTE_CONSTANT) + " track=\"vignette:strength\"");
  const std::string before = FrameOf(plain, 3000);
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(FrameOf(unbound, 3000), before);
  EXPECT_EQ(FrameOf(untracked, 3000), before);
}

TEST_F(SyncTracksTool, TheCheckerNamesDoubtfulTracksWithFileAndLine) {
  const fs::path production = NewProduction("doubtful");
  ReplaceInFile(production / "data/definition/postEffectDefine.xml", VIGNETTE_CONSTANT,
                std::string(VIGNETTE_CONSTANT) + " track=\"fade\"/>\n    " + VIGNETTE_CONSTANT + " track=\"missing\"");
  ASSERT_TRUE(WriteTextFile(production / "data/sync/tracks.xml",
                            "<sync>\n<tracks>\n<track name=\"fade\">\n"
                            "<key row=\"8\" value=\"1\" interpolation=\"1\"/>\n"
                            "<key row=\"4\" value=\"0\" interpolation=\"4\"/>\n"
                            "<key row=\"4\" value=\"2\" interpolation=\"0\"/>\n"
                            "</track>\n<track name=\"fade.y\"/>\n<track name=\"spare\"/>\n</tracks>\n</sync>\n"));
  CommandResult check = RunTool({"check", production.string()});
  const std::string definitions = (production / "data/definition/postEffectDefine.xml").string();
  const std::string tracks = (production / "data/sync/tracks.xml").string();
  for (const std::string& expected : std::vector<std::string>{
           definitions + ":7: warning: constant \"strength\": no track \"missing\" in data\\sync\\tracks.xml",
           tracks + ":5: warning: track \"fade\": row 4 is out of order",
           tracks + ":5: warning: track \"fade\": row 4: unknown interpolation \"4\"",
           tracks + ":6: warning: track \"fade\": row 4 has a key twice",
           tracks + ":8: warning: track \"fade.y\" keys no constant",
           tracks + ":9: warning: track \"spare\" keys no constant",
       }) {
    EXPECT_NE(check.out.find(expected), std::string::npos) << expected << "\n" << check.out;
  }
  EXPECT_EQ(check.out.find("\"fade\" keys no constant"), std::string::npos) << check.out;
  EXPECT_NE(check.out.find("0 errors, 6 warnings"), std::string::npos) << check.out;

  ASSERT_TRUE(WriteTextFile(production / "data/sync/tracks.xml", "<sync><tracks></sync>"));
  check = RunTool({"check", production.string()});
  EXPECT_NE(check.status, 0);
  EXPECT_NE(check.out.find(tracks + ": error: "), std::string::npos) << check.out;
}

}  // namespace
