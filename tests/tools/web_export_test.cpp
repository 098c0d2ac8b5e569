// torvane-tool web-export: a complete folder from good inputs, and nothing at all written when the
// pack, the music or the browser build is not what it should be.
#include <filesystem>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/run_command.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_paths.h"

namespace {

namespace fs = std::filesystem;

class WebExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mFolder = mTemporary.Path();
    // A stand-in for the browser build: web-export copies it as it is.
    for (const char* name : {"torvane.html", "torvane.js", "torvane.wasm"}) {
      WriteTextFile(mFolder / "engine" / name, std::string("bytes of ") + name);
    }
    WriteTextFile(mFolder / "not-a-pack.pak", "this is no pack");
    WriteTextFile(mFolder / "not-music.ogg", "this is no music");
  }

  CommandResult Export(const std::string& pack, const std::string& music, const fs::path& engine, const fs::path& out) {
    return RunTool({"web-export", "--pack", pack, "--music", music, "--out", out.string(), "--engine", engine.string()});
  }

  TemporaryFolder mTemporary;
  fs::path mFolder;
};

TEST_F(WebExportTest, WritesThePageTheEngineThePackAndTheMusic) {
  const std::string pack = BinaryPath("test-production/torvane.pak");
  const std::string music = BinaryPath("test-production/music.ogg");
  const fs::path out = mFolder / "site";
  CommandResult result = Export(pack, music, mFolder / "engine", out);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadTextFile(out / "index.html"), "bytes of torvane.html");
  for (const char* name : {"torvane.html", "torvane.js", "torvane.wasm"}) {
    EXPECT_EQ(ReadTextFile(out / name), ReadTextFile(mFolder / "engine" / name)) << name;
  }
  EXPECT_EQ(ReadTextFile(out / "torvane.pak"), ReadTextFile(pack));
  EXPECT_EQ(ReadTextFile(out / "music.ogg"), ReadTextFile(music));
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 6);
}

TEST_F(WebExportTest, WritesNothingWhenAPieceIsWrong) {
  const std::string pack = BinaryPath("test-production/torvane.pak");
  const std::string music = BinaryPath("test-production/music.ogg");
  struct Case {
    const char* what;
    std::string pack;
    std::string music;
    fs::path engine;
    const char* named;  // what the error must name
  };
  const Case cases[] = {
      {"no pack", (mFolder / "not-a-pack.pak").string(), music, mFolder / "engine", "not-a-pack.pak is not a pack"},
      {"missing pack", (mFolder / "absent.pak").string(), music, mFolder / "engine", "absent.pak"},
      {"no music", pack, (mFolder / "not-music.ogg").string(), mFolder / "engine", "not-music.ogg"},
      {"no browser build", pack, music, mFolder / "absent", "scripts/web.sh"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path out = mFolder / "site";
    CommandResult result = Export(c.pack, c.music, c.engine, out);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("nothing written"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(out));
  }
  EXPECT_EQ(RunTool({"web-export", "--pack", pack, "--music", music}).status, 2);
}

}  // namespace
