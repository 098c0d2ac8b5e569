// torvane-tool effect: what the engine would use, and the compiler's messages when nothing builds.
#include <gtest/gtest.h>

#include "tests/support/run_command.h"
#include "tests/support/test_paths.h"

namespace {

TEST(EffectCommand, ListsTechniquesPassesAndParameters) {
  const std::string file = SourcePath("tests/data/effects/two_techniques.cgfx");
  const CommandResult result = RunTool({"effect", file});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string& out = result.out;
  EXPECT_NE(out.find(R"("techniques":[{"name":"Fancy","valid":false},{"name":"Simple","valid":true}])"), std::string::npos)
      << out;
  EXPECT_NE(out.find(R"("technique":"Simple")"), std::string::npos);
  EXPECT_NE(out.find(R"({"name":"Base","vertex":"vsMain","fragment":"fsSimple","states":["BlendEnable = true","BlendFunc = SrcAlpha, OneMinusSrcAlpha"]})"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find(R"({"name":"colour","path":"lights[1].colour","semantic":"LIGHT_COLOUR","type":"vec4"})"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find(R"({"name":"shBaseTexture","path":"shBaseTexture","semantic":"","type":"sampler2D"})"),
            std::string::npos);
  // Why the first technique is not used.
  EXPECT_NE(result.err.find(file + ":19: no function 'fsFancy' for the fragment program"), std::string::npos)
      << result.err;
}

TEST(EffectCommand, PrintsTheGlslOfEachPass) {
  const CommandResult result = RunTool({"effect", SourcePath("tests/data/effects/two_techniques.cgfx"), "--glsl"});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string& out = result.out;
  const size_t vertex = out.find("// pass Base, vertex program\n#version 120\n#define TORVANE_VERTEX 1\n");
  const size_t fragment = out.find("// pass Base, fragment program\n#version 120\n#define TORVANE_FRAGMENT 1\n");
  ASSERT_NE(vertex, std::string::npos) << out;
  ASSERT_NE(fragment, std::string::npos) << out;
  EXPECT_NE(out.find("void main() { vsMain(); }", vertex), std::string::npos);
  EXPECT_EQ(out.substr(vertex, fragment - vertex).find("fsSimple"), std::string::npos);
  EXPECT_NE(out.find("void main() { fsSimple(); }", fragment), std::string::npos);
  EXPECT_EQ(out.find("sampler_state"), std::string::npos);
}

TEST(EffectCommand, AFileThatDoesNotBuildPrintsTheCompilerMessagesAndFails) {
  const std::string file = SourcePath("tests/data/effects/compile_error.cgfx");
  const CommandResult result = RunTool({"effect", file});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find(file + ":4:"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("undefinedColour"), std::string::npos) << result.err;

  EXPECT_EQ(RunTool({"effect", "/nonexistent/effect.cgfx"}).status, 1);
  EXPECT_EQ(RunTool({"effect"}).status, 2);
  EXPECT_EQ(RunTool({"effect", "a", "b"}).status, 2);
}

}  // namespace
