// The complete examples of the authors' documentation: each is marked with the production path it
// stands for (<!-- example: PATH --> before its code block). Laid over the starter production they
// must check clean and build, and those that show a starter file must show it as `new` writes it.
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/marked_examples.h"
#include "tests/support/run_command.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_paths.h"

namespace {

namespace fs = std::filesystem;

constexpr char MARK[] = "<!-- example: ";

// Path to text of every marked example in the pages of docs/.
std::map<std::string, std::string> AllMarkedExamples() {
  std::map<std::string, std::string> examples;
  for (const fs::directory_entry& page : fs::directory_iterator(SourcePath("docs"))) {
    if (page.path().extension() != ".md") continue;
    const MarkedExamples found = FindMarkedExamples(ReadTextFile(page.path()), MARK);
    for (const auto& [path, text] : found.examples) {
      EXPECT_EQ(examples.count(path), 0u) << path << " is shown twice";
      examples[path] = text;
    }
    EXPECT_FALSE(found.endsInsideBlock) << page.path() << " ends inside a code block";
  }
  return examples;
}

TEST(DocsExamplesTest, EveryFormatHasAnExampleThatChecksCleanAndBuilds) {
  const std::map<std::string, std::string> examples = AllMarkedExamples();
  std::set<std::string> kinds;
  for (const auto& [path, text] : examples) {
    kinds.insert(fs::path(path).extension() == ".xml" ? path : fs::path(path).extension().string());
  }
  for (const char* kind : {".tdf", ".mqo", ".cgfx", ".score", "data/definition/sceneLineDefine.xml",
                           "data/definition/tdfDefine.xml", "data/definition/postEffectDefine.xml",
                           "data/definition/customTextureDefine.xml"}) {
    EXPECT_EQ(kinds.count(kind), 1u) << "no marked example of " << kind;
  }

  TemporaryFolder folder;
  const fs::path production = folder.Path() / "production";
  ASSERT_EQ(RunTool({"new", production.string()}).status, 0);
  for (const auto& [path, text] : examples) {
    const fs::path file = production / path;
    if (fs::exists(file)) {
      EXPECT_EQ(text, ReadTextFile(file)) << "the docs show " << path << " otherwise than `new` writes it";
    }
    ASSERT_TRUE(WriteTextFile(file, text));
  }
  CommandResult check = RunTool({"check", production.string()});
  EXPECT_EQ(check.status, 0) << check.out;
  EXPECT_NE(check.out.find("0 errors, 0 warnings"), std::string::npos) << check.out;
  CommandResult build = RunTool({"build", production.string(), "--out", (folder.Path() / "out").string()});
  EXPECT_EQ(build.status, 0) << build.out << build.err;
}

// The walkthrough ends in a video made by `capture`, and every option its last step shows is one
// the capture (or render) command takes.
TEST(DocsExamplesTest, TheWalkthroughEndsWithACaptureTheToolsTake) {
  const std::string page = ReadTextFile(SourcePath("docs/walkthrough.md"));
  const std::string last = page.substr(page.rfind("\n## "));
  ASSERT_NE(last.find("torvane-tool capture"), std::string::npos) << last;
  const CommandResult capture = RunTool({"capture", "--help"});
  const CommandResult render = RunTool({"render", "--help"});
  const std::string help = capture.out + capture.err + render.out + render.err;
  const std::regex option("--[a-z][a-z-]*");
  size_t options = 0;
  for (std::sregex_iterator it(last.begin(), last.end(), option), end; it != end; ++it, ++options) {
    EXPECT_NE(help.find(it->str()), std::string::npos) << it->str() << " is shown but taken by neither command";
  }
  EXPECT_GE(options, 4u);
}

}  // namespace
