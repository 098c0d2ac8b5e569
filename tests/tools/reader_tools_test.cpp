// The reader tools on real files: image, bmdl, tdf and mqo2bmdl.
#include <cstdio>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "files/model_cache.h"
#include "render/image/decoders.h"
#include "tests/support/run_command.h"
#include "tests/support/test_paths.h"

namespace {

std::string Data(const std::string& relative) { return SourcePath("tests/data/readers/" + relative); }

std::string TempPath(const std::string& name) { return BinaryPath("tests/tools/" + name); }

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ImageTool, WritesTheTexturePixelsAndPrintsTheParameters) {
  std::string out = TempPath("image_tool.png");
  CommandResult result = RunTool({"image", Data("images/rle32.tga"), "--out", out});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "{\"width\":5,\"height\":3,\"internalFormat\":\"GL_RGBA8\",\"format\":\"GL_RGBA\","
            "\"type\":\"GL_UNSIGNED_BYTE\",\"target\":\"GL_TEXTURE_2D\",\"levels\":1}\n");
  std::vector<uint8_t> png = ReadAll(out);
  ImageData written;
  ASSERT_TRUE(DecodePng(png.data(), png.size(), written));
  EXPECT_EQ(written.width, 5);
  std::remove(out.c_str());

  CommandResult cube = RunTool({"image", Data("images/dxt1-cube-mips.dds"), "--out", out});
  ASSERT_EQ(cube.status, 0) << cube.err;
  EXPECT_NE(cube.out.find("\"target\":\"GL_TEXTURE_CUBE_MAP\",\"levels\":3"), std::string::npos) << cube.out;
  png = ReadAll(out);
  ASSERT_TRUE(DecodePng(png.data(), png.size(), written));
  EXPECT_EQ(written.height, 30);  // six 5 x 5 faces one under the other
  std::remove(out.c_str());
}

TEST(ImageTool, RefusesWhatTheTextureLoaderRefuses) {
  EXPECT_EQ(RunTool({"image", Data("images/rgb.gif")}).status, 1);  // not a texture extension
  EXPECT_EQ(RunTool({"image", Data("images/dxt1.dds")}).status, 1);
  EXPECT_EQ(RunTool({"image", Data("SOURCES.md")}).status, 1);
  EXPECT_EQ(RunTool({"image", Data("images/missing.png")}).status, 1);
  EXPECT_EQ(RunTool({"image"}).status, 2);
}

TEST(ModelTools, ConvertedRealModelReadsBackWithItsShiftJisNames) {
  std::string cache = TempPath("ninja.bmdl");
  CommandResult converted = RunTool({"mqo2bmdl", Data("mqo/ninja.mqo"), cache});
  ASSERT_EQ(converted.status, 0) << converted.err;
  EXPECT_EQ(converted.out,
            "{\"packDirectory\":\"data\\\\model\\\\\",\"materials\":9,\"objects\":17,\"vertices\":6567,"
            "\"faces\":10518,\"namedPoints\":0}\n");
  std::vector<uint8_t> bytes = ReadAll(cache);
  ModelData model;
  ASSERT_TRUE(ParseModelCache(bytes.data(), bytes.size(), model));
  EXPECT_EQ(model.objects[0].name, "face-\x93\xaa");

  CommandResult shown = RunTool({"bmdl", cache});
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(shown.out.rfind("{\"materials\":[{\"diffuse\":0.80078125,\"ambient\":0.6015625,", 0), 0u) << shown.out.substr(0, 200);
  EXPECT_NE(shown.out.find("\"name\":\"face-\\u0093\\u00aa\""), std::string::npos);
  EXPECT_NE(shown.out.find("\"namedPoints\":{},\"pointA\":["), std::string::npos);
  std::remove(cache.c_str());
}

TEST(ModelTools, PackFolderComesFromTheOutputPathOrTheOption) {
  std::string cache = TempPath("texture.bmdl");
  CommandResult result = RunTool({"mqo2bmdl", Data("mqo/texture.mqo"), cache, "--pack-dir", "data\\model\\props"});
  ASSERT_EQ(result.status, 0) << result.err;
  CommandResult shown = RunTool({"bmdl", cache});
  EXPECT_NE(shown.out.find("\"texture\":\"data\\\\model\\\\props\\\\texture.png\""), std::string::npos) << shown.out.substr(0, 400);
  std::remove(cache.c_str());
}

TEST(ModelTools, RefusedInputsExitWithOne) {
  EXPECT_EQ(RunTool({"mqo2bmdl", Data("mqo/single_object.mqoz"), TempPath("x.bmdl")}).status, 1);
  EXPECT_EQ(RunTool({"bmdl", Data("mqo/texture.mqo")}).status, 1);
  EXPECT_EQ(RunTool({"mqo2bmdl", Data("mqo/texture.mqo")}).status, 2);
}

TEST(TdfTool, PrintsScenesAndSingleKeys) {
  std::string path = TempPath("tool.tdf");
  std::ofstream(path) << "MQO {\n 0 \"data\\model\\a.mqo\"\n}\n"
                         "Scene \"one\" {\n Object -1 {\n  CameraTrans 1\n  Visible 1\n  DataNum 3\n  Time { 0 1 2 }\n"
                         "  Part \"camera_pos\" {\n   Position { 0 0 0  10 0 0  40 0 0 }\n  }\n }\n}\nEof\n";
  CommandResult whole = RunTool({"tdf", path});
  ASSERT_EQ(whole.status, 0) << whole.err;
  EXPECT_EQ(whole.out.rfind("{\"models\":{},\"scenes\":[{\"name\":\"one\",\"objects\":[{\"model\":-1,\"CameraTrans\":1,"
                            "\"Visible\":1,\"times\":[0,1,2],\"parts\":{\"camera_lookat\":[",
                            0),
            0u)
      << whole.out;
  EXPECT_NE(whole.out.find("\"sceneEndTimes\":[2]}"), std::string::npos);
  CommandResult key = RunTool({"tdf", path, "--key", "0", "0", "camera_pos", "1.5"});
  ASSERT_EQ(key.status, 0) << key.err;
  EXPECT_EQ(key.out, "{\"rotation\":[0,0,0],\"alpha\":1,\"scale\":[1,1,1],\"position\":[22.5,0,0]}\n");
  EXPECT_EQ(RunTool({"tdf", path, "--key", "1", "0", "camera_pos", "1"}).status, 1);
  EXPECT_EQ(RunTool({"tdf", path, "--key", "0"}).status, 2);
  std::remove(path.c_str());
}

TEST(TdfTool, LoadsTheModelsOfTheTestProductionFromItsPack) {
  // The production's models are converted from content/test/models by mqo2bmdl when it is built.
  CommandResult result = RunTool({"tdf", SourcePath("content/test/data/tdf/opening.tdf"), "--pack", BinaryPath("test-production/torvane.pak")});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out.rfind("{\"models\":{\"0\":\"data\\\\model\\\\cube.bmdl\",\"1\":\"data\\\\model\\\\pyramid.bmdl\"}", 0), 0u)
      << result.out.substr(0, 200);
  // Model objects get the model's object names as parts.
  EXPECT_NE(result.out.find("{\"model\":1,\"CameraTrans\":1,\"Visible\":1,\"times\":[0,2.5],\"parts\":{\"pyramid\":["),
            std::string::npos);
  EXPECT_NE(result.out.find("\"pyramid_tip\":["), std::string::npos);
}

}  // namespace
