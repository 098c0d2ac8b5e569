// Effects built as GLSL ES 3.00 (the WebGL 2 path) on the native context, which takes such
// shaders too: every effect the productions ship builds, and a translated effect draws what the
// GLSL 1.20 original draws.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "render/effect/constant_value.h"
#include "render/effect/effect.h"
#include "render/effect/glsl_es_translation.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/test_paths.h"

namespace {

using render::GlslDialect;

// Builds in dialect until destroyed, then puts back the dialect that was selected.
class DialectScope {
 public:
  explicit DialectScope(GlslDialect dialect) : mPrevious(render::SelectedGlslDialect()) {
    render::SelectGlslDialect(dialect);
  }
  ~DialectScope() { render::SelectGlslDialect(mPrevious); }

 private:
  GlslDialect mPrevious;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The effect folders of the engine, the test production, the starter and the showcase (its
// hand-written effects, and the generated content folder when the showcase was built).
std::vector<std::filesystem::path> EffectFiles() {
  std::vector<std::filesystem::path> folders = {
      SourcePath("content/core/shader"), SourcePath("content/test/data/shader"),
      SourcePath("content/starter/data/shader"), SourcePath("content/showcase/data/shader"),
      BinaryPath("content/showcase/content/data/shader")};
  std::vector<std::filesystem::path> files;
  for (const auto& folder : folders) {
    if (!std::filesystem::is_directory(folder)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().extension() == ".cgfx") files.push_back(entry.path());
    }
  }
  return files;
}

// A quad over the whole target fed through the attributes the translated programs read: the
// position at the vertex input, texture coordinates 0 to 1 at set 0.
void DrawEsQuad() {
  const float positions[4][4] = {{-1, -1, 0, 1}, {1, -1, 0, 1}, {-1, 1, 0, 1}, {1, 1, 0, 1}};
  const float uvs[4][4] = {{0, 0, 0, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}, {1, 1, 0, 1}};
  glEnableVertexAttribArray(render::ES_ATTRIBUTE_VERTEX);
  glEnableVertexAttribArray(render::ES_ATTRIBUTE_TEXCOORD0);
  glVertexAttribPointer(render::ES_ATTRIBUTE_VERTEX, 4, GL_FLOAT, GL_FALSE, 0, positions);
  glVertexAttribPointer(render::ES_ATTRIBUTE_TEXCOORD0, 4, GL_FLOAT, GL_FALSE, 0, uvs);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  glDisableVertexAttribArray(render::ES_ATTRIBUTE_VERTEX);
  glDisableVertexAttribArray(render::ES_ATTRIBUTE_TEXCOORD0);
}

class GlslEs : public GLTest {
 protected:
  // The pixel at (x, y) after pass 0 of text, built in dialect with the textures given to its
  // samplers, drew the quad over black.
  static std::vector<uint8_t> Draw(const std::string& text, GlslDialect dialect, int x = 32, int y = 32,
                                   const std::vector<std::pair<const char*, GLuint>>& textures = {}) {
    DialectScope scope(dialect);
    cEffect effect;
    EXPECT_TRUE(effect.Create(text, "test.cgfx")) << effect.Log();
    for (const auto& [sampler, texture] : textures) effect.setParameter(sampler, &texture);
    glClear(GL_COLOR_BUFFER_BIT);
    effect.setPassState(0);
    if (dialect == GlslDialect::GlslEs300) {
      const GLuint program = effect.PassProgram(0);
      const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
      glUniformMatrix4fv(glGetUniformLocation(program, render::ES_MODELVIEW_PROJECTION_MATRIX), 1, GL_FALSE,
                         identity);
      DrawEsQuad();
    } else {
      glMatrixMode(GL_PROJECTION);
      glLoadIdentity();
      glMatrixMode(GL_MODELVIEW);
      glLoadIdentity();
      const float positions[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
      const float uvs[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
      glEnableClientState(GL_VERTEX_ARRAY);
      glEnableClientState(GL_TEXTURE_COORD_ARRAY);
      glVertexPointer(2, GL_FLOAT, 0, positions);
      glTexCoordPointer(2, GL_FLOAT, 0, uvs);
      glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
      glDisableClientState(GL_VERTEX_ARRAY);
      glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    effect.resetPassState(0);
    return ReadPixel(x, y);
  }
};

TEST_F(GlslEs, EveryEffectOfEveryProductionBuildsAsInGlsl120) {
  const auto files = EffectFiles();
  ASSERT_GE(files.size(), 30u);
  for (const auto& file : files) {
    const std::string text = ReadFile(file);
    const std::string name = file.parent_path().parent_path().filename().string() + "/" +
                             file.parent_path().filename().string() + "/" + file.filename().string();
    cEffect reference;
    {
      DialectScope scope(GlslDialect::Glsl120);
      reference.Create(text, name, true);
    }
    DialectScope scope(GlslDialect::GlslEs300);
    cEffect translated;
    translated.Create(text, name, true);
    EXPECT_EQ(translated.TechniqueBuilt(), reference.TechniqueBuilt()) << name << ":\n" << translated.Log();
    EXPECT_EQ(translated.passCount(), reference.passCount()) << name;
    EXPECT_TRUE(translated.IsValid()) << name << ":\n" << translated.Log();
  }
}

// Each case draws the same pixel in both languages.
TEST_F(GlslEs, TranslatedEffectsDrawWhatTheOriginalsDraw) {
  const std::string vertex =
      "varying vec2 vUv;\n"
      "void vs() { vUv = gl_MultiTexCoord0.xy; gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; }\n"
      "void vsTexCoord() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_Position = ftransform(); }\n";
  const struct {
    const char* what;
    const char* code;
    const char* vertexEntry;
  } cases[] = {
      {"initial values of every kind",
       "uniform float f = 0.25; uniform vec3 v = vec3(0.5, -0.5 + 1.0, 2.0 * 0.125); uniform bool b = true;\n"
       "uniform mat2 m = mat2(2.0); uniform ivec2 i = ivec2(3, 4);\n"
       "void fs() { gl_FragColor = vec4(v.rg, f * m[1][1], b ? float(i.y - i.x) : 0.0); }",
       "vs"},
      {"the author's names that GLSL ES builds in",
       "float texture(float x) { return x * 0.5; }\n"
       "mat2 inverse(mat2 m) { return m * 2.0; }\n"
       "void fs() { float sample = texture(0.5); gl_FragColor = vec4(sample, inverse(mat2(0.25))[0][0], 0.0, 1.0); }",
       "vs"},
      {"varyings through gl_TexCoord and ftransform",
       "void fs() { gl_FragColor = vec4(gl_TexCoord[0].xy, 0.0, 1.0); }", "vsTexCoord"},
      {"a macro that names built-ins",
       "#define COLOUR(x) gl_FragColor = vec4(x, vUv.y, 1.0, 1.0)\n"
       "void fs() { COLOUR(vUv.x); }",
       "vs"},
      {"gl_FragData", "void fs() { gl_FragData[0] = vec4(0.0, vUv, 1.0); }", "vs"},
      {"an entry called main", "void main() { gl_FragColor = vec4(0.2, 0.4, 0.6, 0.8); }", "vs"},
  };
  for (const auto& c : cases) {
    const std::string fragmentEntry = std::string(c.code).find("void main") != std::string::npos ? "main" : "fs";
    const std::string text = vertex + c.code + "\ntechnique T { pass P { VertexProgram = " + c.vertexEntry +
                             "; FragmentProgram = " + fragmentEntry + "; BlendEnable = false; } }\n";
    for (const auto& [x, y] : {std::pair{8, 8}, std::pair{40, 24}}) {
      EXPECT_EQ(Draw(text, GlslDialect::GlslEs300, x, y), Draw(text, GlslDialect::Glsl120, x, y))
          << c.what << " at " << x << "," << y;
    }
  }
}

// A sampler of either kind reads at the precision GLSL 1.20 reads at: GLSL ES leaves 2D and cube
// samplers low precision, which costs a texel read from an 8-bit texture its last bits.
TEST_F(GlslEs, TexturesAreReadAtFullPrecision) {
  const uint8_t texel[4] = {133, 133, 133, 133};
  GLuint textures[2];
  glGenTextures(2, textures);
  glBindTexture(GL_TEXTURE_2D, textures[0]);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glBindTexture(GL_TEXTURE_CUBE_MAP, textures[1]);
  for (GLenum face = GL_TEXTURE_CUBE_MAP_POSITIVE_X; face <= GL_TEXTURE_CUBE_MAP_NEGATIVE_Z; ++face) {
    glTexImage2D(face, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
  }
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  // The texel's error times a hundred, about the middle of the range where the read is exact.
  const std::string text =
      "uniform sampler2D picture;\nuniform samplerCube cube;\n"
      "void vs() { gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; }\n"
      "float Error(float texel) { return 0.5 + (texel * 255.0 - 133.0) * 100.0; }\n"
      "void fs() { gl_FragColor = vec4(Error(texture2D(picture, vec2(0.5)).r), "
      "Error(textureCube(cube, vec3(1.0, 0.0, 0.0)).g), 0.0, 1.0); }\n"
      "technique T { pass P { VertexProgram = vs; FragmentProgram = fs; BlendEnable = false; } }\n";
  const std::vector<std::pair<const char*, GLuint>> bound = {{"picture", textures[0]}, {"cube", textures[1]}};
  const std::vector<uint8_t> reference = Draw(text, GlslDialect::Glsl120, 32, 32, bound);
  EXPECT_NEAR(reference[0], 128, 2);
  EXPECT_NEAR(reference[1], 128, 2);
  EXPECT_EQ(Draw(text, GlslDialect::GlslEs300, 32, 32, bound), reference);
  glDeleteTextures(2, textures);
}

TEST_F(GlslEs, TheAlphaTestDiscardsAsTheFixedFunctionOneDoes) {
  DialectScope scope(GlslDialect::GlslEs300);
  cEffect effect;
  ASSERT_TRUE(effect.Create("uniform float alpha;\nvoid vs() { gl_Position = gl_Vertex; }\n"
                            "void fs() { gl_FragColor = vec4(1.0, 1.0, 1.0, alpha); }\n"
                            "technique T { pass P { VertexProgram = vs; FragmentProgram = fs; BlendEnable = false; } }",
                            "alpha.cgfx"))
      << effect.Log();
  const GLuint program = effect.PassProgram(0);
  const struct {
    bool enabled;
    GLenum func;
    float reference;
    float alpha;
    bool drawn;
  } cases[] = {
      {false, GL_NEVER, 0.5f, 0.2f, true},   {true, GL_GREATER, 0.5f, 0.6f, true},
      {true, GL_GREATER, 0.5f, 0.5f, false}, {true, GL_LESS, 0.5f, 0.4f, true},
      {true, GL_LESS, 0.5f, 0.6f, false},    {true, GL_NEVER, 0.0f, 1.0f, false},
      {true, GL_ALWAYS, 1.0f, 0.0f, true},   {true, GL_GEQUAL, 1.0f, 2.0f, true},
  };
  for (const auto& c : cases) {
    glClear(GL_COLOR_BUFFER_BIT);
    effect.setParameter("alpha", &c.alpha);
    effect.setPassState(0);
    glUniform1i(glGetUniformLocation(program, render::ES_ALPHA_FUNC), render::EsAlphaFunction(c.enabled, c.func));
    glUniform1f(glGetUniformLocation(program, render::ES_ALPHA_REFERENCE), c.reference);
    DrawEsQuad();
    effect.resetPassState(0);
    EXPECT_EQ(ReadPixel(32, 32)[0] == 255, c.drawn)
        << "func " << c.func << " reference " << c.reference << " alpha " << c.alpha << " enabled " << c.enabled;
  }
}

TEST_F(GlslEs, MessagesPointAtTheEffectFilesLines) {
  const std::string text =
      "// line 1\nuniform vec4 colour;\n\nvoid vs() { gl_Position = gl_Vertex; }\n"
      "void fs() {\n  gl_FragColor = colour * undeclared;\n}\n"
      "technique T { pass P { VertexProgram = vs; FragmentProgram = fs; } }\n";
  for (GlslDialect dialect : {GlslDialect::Glsl120, GlslDialect::GlslEs300}) {
    DialectScope scope(dialect);
    cEffect effect;
    EXPECT_FALSE(effect.Create(text, "lines.cgfx"));
    EXPECT_NE(effect.Log().find("lines.cgfx:6:"), std::string::npos) << effect.Log();
  }
  DialectScope scope(GlslDialect::GlslEs300);
  cEffect fixedFunction;
  EXPECT_FALSE(fixedFunction.Create("void vs() { gl_Position = gl_Vertex; }\n\n"
                                    "void fs() { gl_FragColor = gl_LightSource[0].diffuse; }\n"
                                    "technique T { pass P { VertexProgram = vs; FragmentProgram = fs; } }\n",
                                    "light.cgfx"));
  EXPECT_NE(fixedFunction.Log().find("light.cgfx:3: 'gl_LightSource' has no counterpart in GLSL ES 3.00"),
            std::string::npos)
      << fixedFunction.Log();
  cEffect notConstant;
  EXPECT_FALSE(notConstant.Create("uniform float x = sin(1.0);\nvoid vs() { gl_Position = gl_Vertex; }\n"
                                  "void fs() { gl_FragColor = vec4(x); }\n"
                                  "technique T { pass P { VertexProgram = vs; FragmentProgram = fs; } }\n",
                                  "initial.cgfx"));
  EXPECT_NE(notConstant.Log().find("initial.cgfx:1: the initial value of uniform 'x' (sin(1.0))"), std::string::npos)
      << notConstant.Log();
}

TEST(ConstantValue, EvaluatesWhatInitialisersAreWrittenWith) {
  const struct {
    const char* expression;
    std::vector<float> components;
  } good[] = {
      {"1.5", {1.5f}},
      {"-2", {-2.0f}},
      {"1e2f", {100.0f}},
      {"0x10", {16.0f}},
      {"vec3(1.0)", {1, 1, 1}},
      {"vec4(vec2(1.0, 2.0), 3.0, 4.0)", {1, 2, 3, 4}},
      {"2.0 * vec2(1.0, 2.0) + 1.0", {3, 5}},
      {"(1.0 + 2.0) * 3.0 - 4.0 / 2.0", {7}},
      {"ivec2(1.7, -1.7)", {1, -1}},
      {"bvec2(true, 0.0)", {1, 0}},
      {"mat2(3.0)", {3, 0, 0, 3}},
      {"mat3(mat2(1.0, 2.0, 3.0, 4.0))", {1, 2, 0, 3, 4, 0, 0, 0, 1}},
      {"mat2(1.0, 2.0, 3.0, 4.0)", {1, 2, 3, 4}},
  };
  for (const auto& g : good) {
    std::vector<float> components;
    EXPECT_TRUE(render::EvaluateConstant(g.expression, components)) << g.expression;
    EXPECT_EQ(components, g.components) << g.expression;
  }
  for (const char* bad : {"", "sin(1.0)", "vec3(1.0, 2.0)", "1.0 +", "(1.0", "vec2(1.0) * vec3(1.0)",
                          "mat2(1.0) * mat2(1.0)", "PI", "1.0 1.0"}) {
    std::vector<float> components;
    EXPECT_FALSE(render::EvaluateConstant(bad, components)) << bad;
  }
  std::vector<float> components;
  EXPECT_FALSE(render::EvaluateConstant(std::string(100000, '(') + "1.0" + std::string(100000, ')'), components));
  EXPECT_FALSE(render::EvaluateConstant(std::string(100000, '-') + "1.0", components));
}

}  // namespace
