// From `new` to pictures: the starter builds and renders its model; a production with an error
// is not packed; and where the player would stop or fall back, the file that named the missing
// one is said on stderr.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "render/image/decoders.h"
#include "tests/support/run_command.h"
#include "tests/support/temporary_folder.h"

namespace {

namespace fs = std::filesystem;

class ProductionBuildTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(RunTool({"new", mStarter.string()}).status, 0); }

  void Replace(const std::string& file, const std::string& from, const std::string& to) {
    std::string text = ReadTextFile(mStarter / file);
    ASSERT_NE(text.find(from), std::string::npos) << from;
    text.replace(text.find(from), from.size(), to);
    ASSERT_TRUE(WriteTextFile(mStarter / file, text));
  }

  // The starter packed by hand, as the build would but without its check.
  fs::path PackWithoutCheck() {
    const fs::path stage = mFolder.Path() / "stage";
    fs::create_directories(stage / "data/model");
    fs::copy(mStarter / "data", stage / "data", fs::copy_options::recursive);
    EXPECT_EQ(RunTool({"mqo2bmdl", (mStarter / "models/gem.mqo").string(), (stage / "data/model/gem.bmdl").string()}).status, 0);
    const fs::path pack = mFolder.Path() / "unchecked.pak";
    EXPECT_EQ(RunTool({"pack", "create", pack.string(), stage.string()}).status, 0);
    return pack;
  }

  CommandResult Render(const fs::path& pack, const std::string& at) {
    return RunTool({"render", "--pack", pack.string(), "--width", "320", "--height", "180", "--at", at, "--out",
                    (mFolder.Path() / "frames").string()});
  }

  TemporaryFolder mFolder;
  fs::path mStarter = mFolder.Path() / "starter";
};

TEST_F(ProductionBuildTest, NewThenBuildThenRenderShowsTheStartersModel) {
  const fs::path out = mFolder.Path() / "out";
  CommandResult build = RunTool({"build", mStarter.string(), "--out", out.string()});
  ASSERT_EQ(build.status, 0) << build.out << build.err;
  EXPECT_NE(build.out.find("0 errors, 0 warnings"), std::string::npos) << build.out;
  ASSERT_TRUE(fs::is_regular_file(out / "torvane.pak"));
  ASSERT_TRUE(fs::is_regular_file(out / "music.ogg"));

  CommandResult render = Render(out / "torvane.pak", "2000");
  ASSERT_EQ(render.status, 0) << render.err;
  const std::string png = ReadTextFile(mFolder.Path() / "frames/frame_00002000.png");
  ImageData frame;
  ASSERT_TRUE(DecodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size(), frame));
  ASSERT_EQ(frame.width, 320);
  auto pixel = [&](int x, int y) { return frame.pixels.data() + (static_cast<size_t>(y) * frame.width + x) * 4; };
  // The orange gem fills the middle of the picture; the corners show the empty scene.
  const uint8_t* middle = pixel(160, 90);
  EXPECT_GT(middle[0], 120) << "red";
  EXPECT_GT(middle[0], middle[2] + 60) << "the gem's orange, not grey or blue";
  const uint8_t* corner = pixel(4, 4);
  EXPECT_LT(corner[0] + corner[1] + corner[2], 60);
}

TEST_F(ProductionBuildTest, ThePackHoldsTheDataAndTheConvertedModelsAsPackCreateWouldPackThem) {
  const fs::path out = mFolder.Path() / "out";
  ASSERT_EQ(RunTool({"build", mStarter.string(), "--out", out.string()}).status, 0);
  const std::string built = ReadTextFile(out / "torvane.pak");
  EXPECT_EQ(built, ReadTextFile(PackWithoutCheck())) << "build packs otherwise than pack create of the staged data";
  ASSERT_EQ(RunTool({"build", mStarter.string(), "--out", out.string()}).status, 0);
  EXPECT_EQ(built, ReadTextFile(out / "torvane.pak")) << "the same folder gave another pack";
}

TEST_F(ProductionBuildTest, AProductionWithAnErrorIsNotPacked) {
  Replace("data/definition/sceneLineDefine.xml", "tdfId=\"orbit\"", "tdfId=\"obrit\"");
  const fs::path out = mFolder.Path() / "out";
  CommandResult build = RunTool({"build", mStarter.string(), "--out", out.string()});
  EXPECT_EQ(build.status, 1);
  EXPECT_NE(build.out.find("sceneLineDefine.xml:4: error: tdfId \"obrit\""), std::string::npos) << build.out;
  EXPECT_NE(build.err.find("no pack written"), std::string::npos) << build.err;
  EXPECT_FALSE(fs::exists(out / "torvane.pak"));

  // Nor one whose music is gone, even where an earlier build left a music.ogg.
  Replace("data/definition/sceneLineDefine.xml", "tdfId=\"obrit\"", "tdfId=\"orbit\"");
  ASSERT_EQ(RunTool({"build", mStarter.string(), "--out", out.string()}).status, 0);
  fs::remove(mStarter / "music/starter.score");
  fs::remove(out / "torvane.pak");
  CommandResult silent = RunTool({"build", mStarter.string(), "--out", out.string()});
  EXPECT_EQ(silent.status, 1);
  EXPECT_NE(silent.out.find("error: no music"), std::string::npos) << silent.out;
  EXPECT_FALSE(fs::exists(out / "torvane.pak"));

  // A pack built among the data would be packed into the next one.
  EXPECT_EQ(RunTool({"build", mStarter.string(), "--out", (mStarter / "data/out").string()}).status, 1);
  EXPECT_FALSE(fs::exists(mStarter / "data/out"));
}

TEST_F(ProductionBuildTest, AMissingModelIsTracedToTheSceneAnimationThatNamesIt) {
  Replace("data/tdf/orbit.tdf", "data\\model\\gem.mqo", "data\\model\\gme.mqo");
  CommandResult render = Render(PackWithoutCheck(), "0");
  EXPECT_NE(render.status, 0) << "the missing model still ends the demo";
  EXPECT_NE(render.err.find("[production] error: data\\tdf\\orbit.tdf:6: error: model \"data\\model\\gme.mqo\""),
            std::string::npos)
      << render.err;
  EXPECT_NE(render.err.find("file not found."), std::string::npos) << render.err;
}

TEST_F(ProductionBuildTest, ALineLeftEmptyIsExplainedAndTheDemoGoesOn) {
  Replace("data/definition/sceneLineDefine.xml", "tdfId=\"orbit\"", "tdfId=\"obrit\"");
  CommandResult render = Render(PackWithoutCheck(), "2000");
  EXPECT_EQ(render.status, 0) << render.err;
  EXPECT_NE(render.err.find("data\\definition\\sceneLineDefine.xml:4: error: tdfId \"obrit\" names no TdfEntry"),
            std::string::npos)
      << render.err;
}

}  // namespace
