// A new author's single mistakes, each made in the production `new` writes: `check` and `build`
// name its cause first, at its FILE:LINE, in the same words; what follows from it says so.
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

struct Edit {
  std::string file;  // below the production folder
  std::string from;  // replaced once; empty: the file is written as `to`
  std::string to;
};

struct Mistake {
  const char* what;
  std::vector<Edit> edits;
  std::string cause;                 // the first line either command prints, below the production folder
  std::vector<std::string> further;  // in what check prints after it
  bool buildRefuses = true;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool Apply(const fs::path& production, const Edit& edit) {
  const fs::path file = production / edit.file;
  if (edit.from.empty()) return WriteTextFile(file, edit.to);
  std::string text = ReadTextFile(file);
  const size_t at = text.find(edit.from);
  if (at == std::string::npos) return false;
  return WriteTextFile(file, text.replace(at, edit.from.size(), edit.to));
}

const std::vector<Mistake>& Mistakes() {
  static const std::vector<Mistake> mistakes = {
      {"a part's closing brace left out",
       {{"data/tdf/orbit.tdf", "      Position { 0 1 -7   4 2.5 -5   0 1.5 -6 }\n    }\n", "      Position { 0 1 -7   4 2.5 -5   0 1.5 -6 }\n"}},
       "data/tdf/orbit.tdf:15: error: a \"}\" is missing, it seems: this line's \"{\" is closed by the \"}\" on line 20, "
       "which is indented otherwise; it belongs before line 17, the next line indented as this one",
       {"orbit.tdf:9: error: scene \"orbit\" is never closed: its \"{\" has no matching \"}\" (follows from line 15)",
        "unknown block \"camera_lookat\" in part \"camera_pos\""}},
      {"a pitch without its octave",
       {{"music/starter.score", "note 4 1 bell E5", "note 4 1 bell E"}},
       "music/starter.score:27: error: bad pitch \"E\": expected a note name and its octave, like \"E3\", or a MIDI note "
       "number from 0 to 127",
       {}},
      {"an image that does not decode",
       {{"data/texture/scan.png", "", "not a picture"},
        {"data/definition/customTextureDefine.xml", "  <!--",
         "  <TextureEntry sampler=\"scan\" path=\"data\\texture\\scan.png\"/>\n  <!--"}},
       "data/definition/customTextureDefine.xml:3: error: texture \"data\\texture\\scan.png\" does not decode as \"png\"; "
       "whatever uses it draws without it",
       {}},
      {"a face naming a vertex past the end",
       {{"models/gem.mqo", "3 V(0 5 2) M(0)", "3 V(0 5 9) M(0)"}},
       "models/gem.mqo:22: error: model \"data\\model\\gem.bmdl\" does not read: face 0 of object \"gem\" names vertex 9, "
       "but the object has 6 (0 to 5)",
       {}},
      {"a misspelt constant",
       {{"data/definition/postEffectDefine.xml", "param=\"strength\"", "param=\"strenght\""}},
       "data/definition/postEffectDefine.xml:6: error: parameter \"strenght\" is not in effect \"data\\shader\\vignette.cgfx\"; "
       "setting it does nothing; did you mean \"strength\"?",
       {}},
      {"an undeclared name in an effect",
       {{"data/shader/vignette.cgfx", "float edge = ", "float edge = foo + "}},
       "data/shader/vignette.cgfx:22:",
       {"vignette.cgfx: error: no technique builds: the player draws with the fallback effect (flat magenta) instead "
        "(follows from line 22)",
        "vignette.cgfx:26: error: technique 'Vignette' cannot be used: its pass 'Main' does not build (follows from line 22)"}},
      {"a misspelt element",
       {{"data/definition/sceneLineDefine.xml", "eTime=\"8000\" shader=\"default\"/>",
         "eTime=\"5000\" shader=\"default\"/>\n  <SceneLineEnrty tdfId=\"orbit\" line=\"0\" sTime=\"5000\" eTime=\"8000\" "
         "shader=\"default\"/>"}},
       "data/definition/sceneLineDefine.xml:5: error: element \"SceneLineEnrty\" in \"TRDataXml\" is not read: the player "
       "skips it and all it holds; did you mean \"SceneLineEntry\"?",
       {"sceneLineDefine.xml:4: warning: scene line 0 draws nothing from 5001 to 7999 ms after \"orbit\" ends, while its "
        "picture is shown"}},
      {"a vertex count that does not match its lines",
       {{"models/gem.mqo", "vertex 6 {", "vertex 7 {"}},
       "models/gem.mqo:13: warning: \"vertex 7\" of object \"gem\", but 6 vertices follow; the model has the vertices that "
       "are there",
       {},
       false},
  };
  return mistakes;
}

TEST(AuthorMistakes, CheckAndBuildNameTheCauseFirstAtItsLine) {
  for (const Mistake& mistake : Mistakes()) {
    SCOPED_TRACE(mistake.what);
    TemporaryFolder folder;
    const fs::path production = folder.Path() / "production";
    ASSERT_EQ(RunTool({"new", production.string()}).status, 0);
    for (const Edit& edit : mistake.edits) ASSERT_TRUE(Apply(production, edit)) << edit.file;
    const std::string cause = production.string() + "/" + mistake.cause;

    const CommandResult check = RunTool({"check", production.string()});
    const std::vector<std::string> checked = Lines(check.out);
    ASSERT_FALSE(checked.empty());
    EXPECT_EQ(checked[0].substr(0, cause.size()), cause) << check.out;
    EXPECT_EQ(check.status, mistake.buildRefuses ? 1 : 0) << check.out;
    for (const std::string& further : mistake.further) EXPECT_NE(check.out.find(further), std::string::npos) << further << "\n" << check.out;
    for (const std::string& line : checked) {
      EXPECT_EQ(line.find("\"\""), std::string::npos) << "a name quoted twice: " << line;
      EXPECT_NE(line.back(), ':') << "a message that ends in a colon: " << line;
    }

    const CommandResult build = RunTool({"build", production.string(), "--out", (folder.Path() / "out").string()});
    const std::vector<std::string> built = Lines(build.out);
    ASSERT_FALSE(built.empty()) << build.err;
    EXPECT_EQ(built[0].substr(0, cause.size()), cause) << build.out << build.err;
    EXPECT_EQ(build.status, mistake.buildRefuses ? 1 : 0) << build.out << build.err;
    EXPECT_EQ(fs::exists(folder.Path() / "out/torvane.pak"), !mistake.buildRefuses);
  }
}

}  // namespace
