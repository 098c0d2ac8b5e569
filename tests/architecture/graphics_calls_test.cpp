#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/architecture/graphics_calls.h"
#include "tests/architecture/layer_rules.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
}

}  // namespace

TEST(GraphicsCalls, NoEngineFileOutsideTheGraphicsLayersUsesGL) {
  std::vector<GraphicsUse> uses = FindGraphicsUses(SourcePath(""), ENGINE_LAYERS, GRAPHICS_LAYERS);
  for (const GraphicsUse& use : uses) ADD_FAILURE() << Describe(use);
  EXPECT_TRUE(uses.empty());
}

TEST(GraphicsCalls, CommentsAndLiteralsAreBlankedLinesKept) {
  struct Case {
    const char* source;
    const char* code;
  } cases[] = {
      {"a // glClear()\nb", "a             \nb"},
      {"x /* GL_BLEND\n */ y", "x            \n    y"},
      {"f(\"GL_RGBA8 \\\" glEnd()\");", "f(\"                   \");"},
      {"c = 'G'; glFlush();", "c = ' '; glFlush();"},
      {"s = \"a\\\nb\";", "s = \"  \n \";"},
  };
  for (const Case& c : cases) EXPECT_EQ(CodeOnly(c.source), c.code) << c.source;
}

TEST(GraphicsCalls, PlantedUsesAreNamedWithFileLineAndToken) {
  fs::path root = fs::temp_directory_path() / ("torvane_graphics_" + std::to_string(::getpid()));
  fs::remove_all(root);
  WriteFile(root / "demo/pass.cpp",
            "#include <GL/glew.h>\n"
            "// glClear(GL_COLOR_BUFFER_BIT) in a comment is fine\n"
            "void F() { glClear(GL_DEPTH_BUFFER_BIT); }\n"
            "const char* name = \"GL_RGBA8\";\n"
            "GLuint id = 0;  gluLookAt (0);\n");
  WriteFile(root / "scene/clean.h", "void glowing(); int GLOW_LEVEL = myglFoo(1); void drawGL_();\n");
  WriteFile(root / "render/state.cpp", "void F() { glEnable(GL_BLEND); }\n");
  WriteFile(root / "render/effect/gl_program.cpp", "void F() { glUseProgram(0); }\n");
  WriteFile(root / "window/window_gl.cpp", "#include <GL/glew.h>\n");
  std::vector<std::string> found;
  for (const GraphicsUse& use : FindGraphicsUses(root.string(), ENGINE_LAYERS, GRAPHICS_LAYERS)) {
    found.push_back(Describe(use));
  }
  fs::remove_all(root);
  const std::string outside = ") outside platform/, window/ and render/";
  EXPECT_EQ(found, (std::vector<std::string>{
                       "demo/pass.cpp:1: uses GL (GL/glew.h" + outside,
                       "demo/pass.cpp:3: uses GL (glClear" + outside,
                       "demo/pass.cpp:3: uses GL (GL_DEPTH_BUFFER_BIT" + outside,
                       "demo/pass.cpp:5: uses GL (GLuint" + outside,
                       "demo/pass.cpp:5: uses GL (gluLookAt" + outside,
                   }));
}
