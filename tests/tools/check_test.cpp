// The production checker against one mistake at a time in a copy of the starter production: each
// is named with its file, its line where it has one, and the offending name.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/run_command.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_paths.h"

namespace {

namespace fs = std::filesystem;

struct Mistake {
  const char* name;
  const char* file;       // the file changed, below the production
  const char* from;       // its text to replace; null: the file is removed
  const char* to;
  const char* reported;   // the file the finding names, below the production; "" for the production
  const char* lineOf;     // text of the changed file on the finding's line; null: no line
  const char* mentions;   // what the message must say: the offending name in its quotes
  bool error;             // else a warning, and the check passes
};

const Mistake MISTAKES[] = {
    // Files every production needs.
    {"no custom texture definitions", "data/definition/customTextureDefine.xml", nullptr, nullptr, "", nullptr,
     "\"data\\definition\\customTextureDefine.xml\"", true},
    {"no supersampling effect", "data/core/shader/msaa.cgfx", nullptr, nullptr, "", nullptr,
     "\"data\\core\\shader\\msaa.cgfx\"", true},
    // Definitions.
    {"scene animation path", "data/definition/tdfDefine.xml", "data\\tdf\\orbit.tdf", "data\\tdf\\orbits.tdf",
     "data/definition/tdfDefine.xml", "orbits.tdf", "\"data\\tdf\\orbits.tdf\"", true},
    {"tdfId no entry defines", "data/definition/sceneLineDefine.xml", "tdfId=\"orbit\"", "tdfId=\"obrit\"",
     "data/definition/sceneLineDefine.xml", "obrit", "\"obrit\"", true},
    {"scene line shader", "data/definition/sceneLineDefine.xml", "shader=\"default\"", "shader=\"glwo\"",
     "data/definition/sceneLineDefine.xml", "glwo", "\"glwo\"", true},
    {"post-effect shader", "data/definition/postEffectDefine.xml", "shader=\"vignette\"", "shader=\"vignete\"",
     "data/definition/postEffectDefine.xml", "vignete", "\"vignete\"", true},
    {"XML not well formed", "data/definition/sceneLineDefine.xml", "shader=\"default\"/>", "shader=\"default\">",
     "data/definition/sceneLineDefine.xml", "</TRDataXml>", "the player shows \"XML Parsing error\"", true},
    {"root name", "data/definition/tdfDefine.xml", "name=\"tdfDefine\"", "name=\"tdfDefin\"",
     "data/definition/tdfDefine.xml", "tdfDefin", "\"tdfDefin\"", true},
    {"line outside 0 to 9", "data/definition/sceneLineDefine.xml", "line=\"0\"", "line=\"10\"",
     "data/definition/sceneLineDefine.xml", "line=\"10\"", "\"orbit\" is on line 10", true},
    {"span never shown", "data/definition/sceneLineDefine.xml", "sTime=\"0\"", "sTime=\"9000\"",
     "data/definition/sceneLineDefine.xml", "sTime=\"9000\"", "\"orbit\": eTime 8000 is before sTime 9000", true},
    {"span past the music", "data/definition/sceneLineDefine.xml", "eTime=\"8000\"", "eTime=\"9500\"",
     "data/definition/sceneLineDefine.xml", "9500", "\"orbit\": eTime 9500 ms is past the music's end at 8000 ms", false},
    {"overlapping entries", "data/definition/sceneLineDefine.xml", "</TRDataXml>",
     "  <SceneLineEntry tdfId=\"orbit\" line=\"0\" sTime=\"4000\" eTime=\"8000\" shader=\"default\"/>\n</TRDataXml>",
     "data/definition/sceneLineDefine.xml", "sTime=\"4000\"", "overlaps \"orbit\" (written on line 4)", false},
    {"number that is no number", "data/definition/sceneLineDefine.xml", "eTime=\"8000\"", "eTime=\"8s\"",
     "data/definition/sceneLineDefine.xml", "8s", "\"8s\"", true},
    {"unknown attribute", "data/definition/sceneLineDefine.xml", "shader=\"default\"", "shader=\"default\" loop=\"1\"",
     "data/definition/sceneLineDefine.xml", "loop", "\"loop\"", false},
    {"render target", "data/definition/postEffectDefine.xml", "renderTarget=\"-1\"", "renderTarget=\"10\"",
     "data/definition/postEffectDefine.xml", "renderTarget=\"10\"", "\"vignette\": renderTarget 10", true},
    {"post-effects that write no picture", "data/definition/postEffectDefine.xml", "renderTarget=\"-1\"",
     "renderTarget=\"3\"", "data/definition/postEffectDefine.xml", "<TRDataXml", "none writes the picture", false},
    {"equal priorities at once", "data/definition/postEffectDefine.xml", "</TRDataXml>",
     "  <PostEffectEntry sTime=\"7000\" eTime=\"9000\" shader=\"vignette\" execPrio=\"0\" execPass=\"-1\" "
     "renderTarget=\"-1\"/>\n</TRDataXml>",
     "data/definition/postEffectDefine.xml", "sTime=\"7000\"", "execPrio 0 is also on line 4, which runs at the same time",
     false},
    {"pass the effect lacks", "data/definition/postEffectDefine.xml", "execPass=\"-1\"", "execPass=\"1\"",
     "data/definition/postEffectDefine.xml", "execPass=\"1\"", "\"vignette\": execPass 1 names no pass", true},
    {"source line", "data/definition/postEffectDefine.xml", "lineId=\"0\"", "lineId=\"line0\"",
     "data/definition/postEffectDefine.xml", "line0", "\"line0\"", true},
    {"parameter the effect lacks", "data/definition/postEffectDefine.xml", "param=\"strength\"", "param=\"strenght\"",
     "data/definition/postEffectDefine.xml", "strenght", "\"strenght\"", true},
    {"constant type", "data/definition/postEffectDefine.xml", "type=\"float\"", "type=\"double\"",
     "data/definition/postEffectDefine.xml", "double", "\"double\"", true},
    {"custom texture path", "data/definition/customTextureDefine.xml", "</TRDataXml>",
     "  <TextureEntry sampler=\"sceneTex\" path=\"data\\texture\\noise.png\"/>\n</TRDataXml>",
     "data/definition/customTextureDefine.xml", "noise.png", "\"data\\texture\\noise.png\"", true},
    // Scene animations.
    {"Position one number short", "data/tdf/orbit.tdf", "0 1 -7   4 2.5 -5   0 1.5 -6", "0 1 -7   4 2.5 -5   0 1.5",
     "data/tdf/orbit.tdf", "0 1 -7", "Position block of part \"camera_pos\"", true},
    {"DataNum 3 with two times", "data/tdf/orbit.tdf", "Time { 0.0 4.0 8.0 }", "Time { 0.0 8.0 }",
     "data/tdf/orbit.tdf", "Time { 0.0 8.0 }\n    Part \"camera_pos\"", "Time block of Object -1 has 2 times; DataNum 3", true},
    {"times going back", "data/tdf/orbit.tdf", "Time { 0.0 4.0 8.0 }", "Time { 0.0 8.0 4.0 }",
     "data/tdf/orbit.tdf", "8.0 4.0", "Time block of Object -1 goes back", true},
    {"misspelled block", "data/tdf/orbit.tdf", "Rotation { 0 0 0   0 3.1416 0 }", "Rotaton { 0 0 0   0 3.1416 0 }",
     "data/tdf/orbit.tdf", "Rotaton", "\"Rotaton\"", true},
    {"part no model object has", "data/tdf/orbit.tdf", "Part \"moon\"", "Part \"mon\"", "data/tdf/orbit.tdf",
     "\"mon\"", "\"mon\"", true},
    {"unbalanced brace", "data/tdf/orbit.tdf", "Scale { 1 1 1   1.5 1.5 1.5 }", "Scale { 1 1 1   1.5 1.5 1.5",
     "data/tdf/orbit.tdf", "Scale {", "a \"}\" is missing, it seems", true},
    {"model path that does not exist", "data/tdf/orbit.tdf", "data\\model\\gem.mqo", "data\\model\\gme.mqo",
     "data/tdf/orbit.tdf", "gme.mqo", "\"data\\model\\gme.mqo\"", true},
    {"object whose model slot is empty", "data/tdf/orbit.tdf", "Object 0", "Object 3", "data/tdf/orbit.tdf",
     "Object 3", "no model in slot \"3\"", true},
    {"camera part", "data/tdf/orbit.tdf", "\"camera_lookat\"", "\"camera_look\"", "data/tdf/orbit.tdf",
     "camera_look", "\"camera_look\"", true},
    // Models, textures and effects.
    {"material effect", "models/gem.mqo", "\"gem@sheen\"", "\"gem@shen\"", "models/gem.mqo", "gem@shen",
     "\"data\\shader\\shen.cgfx\"", true},
    {"object whose parent is missing", "models/gem.mqo", "depth 1", "depth 2", "models/gem.mqo", "Object \"moon\"",
     "\"moon\"", false},
    {"texture that does not exist", "models/gem.mqo", "power(10.00)", "power(10.00) tex(\"moon.png\")",
     "models/gem.mqo", "\"moon\"", "\"data\\model\\moon.png\"", true},
    {"effect that does not build", "data/shader/sheen.cgfx", "VertexProgram = vsSheen;", "VertexProgram = vsShen;",
     "data/shader/sheen.cgfx", "pass Main", "'vsShen'", true},
    {"music score", "music/starter.score", "instrument bell", "instrument bell wave=organ", "music/starter.score",
     "wave=organ", "\"wave=organ\"", true},
};

class CheckTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sStarter = new TemporaryFolder();
    ASSERT_EQ(RunTool({"new", *sStarter / "starter"}).status, 0);
  }
  static void TearDownTestSuite() {
    delete sStarter;
    sStarter = nullptr;
  }

  // A copy of the starter in a folder of this test's own.
  fs::path CopyOfStarter() {
    fs::copy(sStarter->Path() / "starter", mFolder.Path() / "production", fs::copy_options::recursive);
    return mFolder.Path() / "production";
  }

  static inline TemporaryFolder* sStarter = nullptr;
  TemporaryFolder mFolder;
};

int LineOf(const std::string& text, const std::string& needle) {
  size_t at = text.find(needle);
  return at == std::string::npos ? 0 : 1 + static_cast<int>(std::count(text.begin(), text.begin() + long(at), '\n'));
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(CheckTest, TheStarterChecksClean) {
  CommandResult result = RunTool({"check", (sStarter->Path() / "starter").string()});
  EXPECT_EQ(result.status, 0) << result.out;
  ASSERT_EQ(Lines(result.out).size(), 1u) << result.out;
  EXPECT_NE(result.out.find("0 errors, 0 warnings"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("music 8.000 s"), std::string::npos) << result.out;
}

TEST_F(CheckTest, TheTestProductionHasNoErrors) {
  CommandResult result = RunTool({"check", BinaryPath("content/test")});
  EXPECT_EQ(result.status, 0) << result.out;
  EXPECT_NE(result.out.find("0 errors"), std::string::npos) << result.out;
}

TEST_F(CheckTest, EachMistakeIsNamedWithItsFileLineAndName) {
  for (const Mistake& mistake : MISTAKES) {
    SCOPED_TRACE(mistake.name);
    TemporaryFolder folder;
    fs::path production = folder.Path() / "production";
    fs::copy(sStarter->Path() / "starter", production, fs::copy_options::recursive);
    const fs::path changed = production / mistake.file;
    std::string text = ReadTextFile(changed);
    if (mistake.from) {
      const size_t at = text.find(mistake.from);
      ASSERT_NE(at, std::string::npos) << "the starter has changed: no " << mistake.from << " in " << mistake.file;
      text.replace(at, std::string(mistake.from).size(), mistake.to);
      ASSERT_TRUE(WriteTextFile(changed, text));
    } else {
      ASSERT_TRUE(fs::remove(changed));
    }

    CommandResult result = RunTool({"check", production.string()});
    EXPECT_EQ(result.status, mistake.error ? 1 : 0) << result.out;
    std::string where = mistake.reported[0] ? (production / mistake.reported).string() : production.string();
    if (mistake.lineOf) where += ":" + std::to_string(LineOf(text, mistake.lineOf));
    where += ":";
    const std::string severity = mistake.error ? " error: " : " warning: ";
    bool found = false;
    for (const std::string& line : Lines(result.out)) {
      found = found || (line.rfind(where, 0) == 0 && line.find(severity) != std::string::npos &&
                        line.find(mistake.mentions) != std::string::npos);
    }
    EXPECT_TRUE(found) << "expected " << where << severity << "... " << mistake.mentions << " in:\n" << result.out;
  }
}

TEST_F(CheckTest, MusicThatDoesNotPlayIsAnError) {
  fs::path production = CopyOfStarter();
  ASSERT_TRUE(WriteTextFile(production / "noise.ogg", "not music at all"));
  CommandResult result = RunTool({"check", production.string(), "--music", (production / "noise.ogg").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find((production / "noise.ogg").string() + ": error: the player reads no music"), std::string::npos)
      << result.out;
}

TEST_F(CheckTest, APackIsCheckedAsThePlayerReadsIt) {
  fs::path production = CopyOfStarter();
  const fs::path out = mFolder.Path() / "out";
  ASSERT_EQ(RunTool({"build", production.string(), "--out", out.string()}).status, 0);
  CommandResult clean = RunTool({"check", (out / "torvane.pak").string(), "--music", (out / "music.ogg").string()});
  EXPECT_EQ(clean.status, 0) << clean.out;
  EXPECT_NE(clean.out.find("0 errors, 0 warnings"), std::string::npos) << clean.out;

  // Packed by hand without the effect its model's material names; in a pack only the cache tells.
  const fs::path stage = mFolder.Path() / "stage";
  fs::create_directories(stage);
  fs::copy(production / "data", stage / "data", fs::copy_options::recursive);
  fs::remove(stage / "data/shader/sheen.cgfx");
  fs::create_directories(stage / "data/model");
  ASSERT_EQ(RunTool({"mqo2bmdl", (production / "models/gem.mqo").string(), (stage / "data/model/gem.bmdl").string()}).status, 0);
  ASSERT_EQ(RunTool({"pack", "create", (mFolder.Path() / "broken.pak").string(), stage.string()}).status, 0);
  CommandResult broken = RunTool({"check", (mFolder.Path() / "broken.pak").string()});
  EXPECT_EQ(broken.status, 1);
  EXPECT_NE(broken.out.find("data\\model\\gem.bmdl: error: material 0: effect \"data\\shader\\sheen.cgfx\" is missing"),
            std::string::npos)
      << broken.out;
}

TEST_F(CheckTest, ATextureThatDoesNotDecodeIsAnError) {
  fs::path production = CopyOfStarter();
  ASSERT_TRUE(WriteTextFile(production / "data/texture/noise.png", "no PNG inside"));
  const fs::path definition = production / "data/definition/customTextureDefine.xml";
  std::string text = ReadTextFile(definition);
  text.replace(text.find("</TRDataXml>"), 12,
               "<TextureEntry sampler=\"sceneTex\" path=\"data\\texture\\noise.png\"/></TRDataXml>");
  ASSERT_TRUE(WriteTextFile(definition, text));
  CommandResult result = RunTool({"check", production.string()});
  EXPECT_EQ(result.status, 1);
  // At the line that names it, where the author mends it.
  EXPECT_NE(result.out.find(definition.string() + ":4: error: texture \"data\\texture\\noise.png\" does not decode"),
            std::string::npos)
      << result.out;
}

}  // namespace
