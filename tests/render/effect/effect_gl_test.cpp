// cEffect on a real GL context: what reaches the GPU by name, by semantic and by path, samplers,
// state matrices, pass states and the choice of technique.
#include <algorithm>
#include <cmath>
#include <string>

#include "render/effect/effect.h"
#include "render/effect/matrix.h"
#include "tests/support/resource_pack_test.h"
#include "tests/support/test_paths.h"

namespace {

const char VERTEX[] = "void vsQuad() { gl_Position = gl_Vertex; gl_TexCoord[0] = gl_MultiTexCoord0; }\n";

std::string OnePass(const std::string& code, const std::string& fragment, const std::string& states = "") {
  return std::string(VERTEX) + code + "\ntechnique T { pass P { VertexProgram = vsQuad; FragmentProgram = " + fragment +
         "; " + states + " } }\n";
}

std::vector<uint8_t> Rgba(int r, int g, int b, int a) {
  return {uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a)};
}

class EffectGL : public GLTest {
 protected:
  // Runs one pass of effect over the whole target and returns the centre pixel.
  static std::vector<uint8_t> DrawPass(cEffect& effect, int pass = 0) {
    effect.setPassState(pass);
    DrawQuad();
    effect.resetPassState(pass);
    return ReadPixel(32, 32);
  }

  void Create(const std::string& text) { ASSERT_TRUE(mEffect.Create(text, "test.cgfx")) << mEffect.Log(); }
  cEffect mEffect;
};

TEST_F(EffectGL, NameAndSemanticSetEveryMatchTogether) {
  Create(OnePass("uniform vec4 shKd; uniform vec4 other : shKd; uniform vec4 third : OTHER;\n"
                 "void fs() { gl_FragColor = vec4(shKd.r, other.g, third.b, 1.0); }",
                 "fs"));
  const float one[4] = {1, 1, 1, 1};
  mEffect.setParameter("shKd", one);
  EXPECT_EQ(DrawPass(mEffect), Rgba(255, 255, 0, 255));
  mEffect.setParameter("OTHER", one);
  EXPECT_EQ(DrawPass(mEffect), Rgba(255, 255, 255, 255));

  const float zero[4] = {0, 0, 0, 0};
  mEffect.setParameter("nothing", one);
  mEffect.setParameter("", zero);
  mEffect.setParameter(nullptr, zero);
  mEffect.setParameter("shKd", nullptr);
  EXPECT_EQ(DrawPass(mEffect), Rgba(255, 255, 255, 255));
  EXPECT_EQ(mEffect.FindParameter("shkd"), -1);
}

TEST_F(EffectGL, ANameBufferReusedForAnotherNameFindsTheOtherParameter) {
  Create(OnePass("uniform vec4 srcCBuf0; uniform vec4 srcCBuf1;\n"
                 "void fs() { gl_FragColor = vec4(srcCBuf0.r, srcCBuf1.g, 0.0, 1.0); }",
                 "fs"));
  // Names built at run time in one buffer, as the frame composition builds "srcCBuf" + digit.
  char name[16] = "srcCBuf0";
  const int first = mEffect.FindParameter(name);
  name[7] = '1';
  const int second = mEffect.FindParameter(name);
  ASSERT_GE(first, 0);
  ASSERT_GE(second, 0);
  EXPECT_NE(first, second);
  name[7] = '7';
  EXPECT_EQ(mEffect.FindParameter(name), -1);
  name[7] = '1';
  const float one[4] = {1, 1, 1, 1};
  mEffect.setParameter(name, one);
  EXPECT_EQ(DrawPass(mEffect), Rgba(0, 255, 0, 255));
}

TEST_F(EffectGL, EachTypeTakesItsOwnNumberOfFloats) {
  Create(std::string(VERTEX) +
         "uniform float f; uniform vec2 v2; uniform vec3 v3; uniform mat4 m;\n"
         "void fs() { gl_FragColor = vec4(f, v2.y, v3.z, 1.0); }\n"
         "void fsMatrix() { gl_FragColor = vec4(m[0][1], m[1][0], m[3][2], 1.0); }\n"
         "technique T { pass { VertexProgram = vsQuad; FragmentProgram = fs; }\n"
         "              pass { VertexProgram = vsQuad; FragmentProgram = fsMatrix; } }\n");
  const float values[4] = {1.0f, 0.0f, 1.0f, 0.0f};
  mEffect.setParameter("f", values);
  mEffect.setParameter("v2", values + 1);  // (0, 1)
  mEffect.setParameter("v3", values);      // (1, 0, 1): the fourth float is not read
  EXPECT_EQ(DrawPass(mEffect), Rgba(255, 255, 255, 255));

  // Row-major: rows[0 * 4 + 1] is row 0, column 1, which GLSL indexes as m[1][0].
  float rows[16] = {};
  rows[0 * 4 + 1] = 1.0f;
  rows[2 * 4 + 3] = 0.5f;
  mEffect.setParameter("m", rows);
  GLfloat uploaded[16];
  mEffect.setPassState(1);
  glGetUniformfv(mEffect.PassProgram(1), glGetUniformLocation(mEffect.PassProgram(1), "m"), uploaded);
  mEffect.resetPassState(1);
  EXPECT_EQ(uploaded[1 * 4 + 0], 1.0f);  // column 1, row 0
  EXPECT_EQ(uploaded[3 * 4 + 2], 0.5f);
  EXPECT_EQ(uploaded[0 * 4 + 1], 0.0f);
}

TEST_F(EffectGL, StructMembersInArraysAnswerToTheirMemberName) {
  Create(OnePass("struct Light { vec4 color; float weight : WEIGHT; };\n"
                 "uniform Light lights[2];\n"
                 "void fs() { gl_FragColor = lights[0].color * lights[0].weight + lights[1].color * lights[1].weight; }",
                 "fs"));
  const float red[4] = {1, 0, 0, 1};
  const float half = 0.5f;
  mEffect.setParameter("color", red);
  mEffect.setParameter("WEIGHT", &half);
  EXPECT_EQ(DrawPass(mEffect), Rgba(255, 0, 0, 255));

  const float blue[4] = {0, 0, 1, 1};
  mEffect.setParameter("lights[1].color", blue);
  EXPECT_EQ(DrawPass(mEffect), Rgba(128, 0, 128, 255));
}

TEST_F(EffectGL, SamplersBindTheirTextureNameWithTheirSamplerState) {
  Create(OnePass("uniform sampler2D base = sampler_state { MinFilter = Nearest; MagFilter = Nearest; WrapS = ClampToEdge; };\n"
                 "uniform sampler2D overlay;\n"
                 "void fs() { gl_FragColor = texture2D(base, gl_TexCoord[0].xy) + texture2D(overlay, vec2(0.5)) * 0.0; }",
                 "fs"));
  // Two texels, left red and right blue, with GL's default filter, which needs mipmaps: without
  // the sampler state the texture would be incomplete and sample black.
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  const uint8_t texels[8] = {255, 0, 0, 255, 0, 0, 255, 255};
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  glBindTexture(GL_TEXTURE_2D, 0);

  mEffect.setParameter("base", &texture);
  mEffect.setPassState(0);
  DrawQuad();
  mEffect.resetPassState(0);
  EXPECT_EQ(ReadPixel(10, 32), Rgba(255, 0, 0, 255));
  EXPECT_EQ(ReadPixel(54, 32), Rgba(0, 0, 255, 255));

  GLint minFilter = 0;
  GLint wrap = 0;
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
  EXPECT_EQ(minFilter, GL_NEAREST);
  EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_2D, 0);
  glDeleteTextures(1, &texture);
}

// What frame composition asks before it decides to skip a pass: the textures a pass samples with
// the values set now, and values set only to ask that put back exactly, drawing as before.
TEST_F(EffectGL, SampledTexturesFollowTheValuesAndSavedValuesComeBack) {
  Create(std::string(VERTEX) +
         "uniform sampler2D a; uniform sampler2D b; uniform sampler2D unused; uniform vec4 tint;\n"
         "void fsA() { gl_FragColor = texture2D(a, vec2(0.5)) * 0.001 + tint; }\n"
         "void fsAB() { gl_FragColor = (texture2D(a, vec2(0.5)) + texture2D(b, vec2(0.5))) * 0.001 + tint; }\n"
         "technique T { pass One { VertexProgram = vsQuad; FragmentProgram = fsA; }\n"
         "              pass Two { VertexProgram = vsQuad; FragmentProgram = fsAB; } }\n");
  const GLuint first = 11;
  const GLuint second = 12;
  mEffect.setParameter("a", &first);
  mEffect.setParameter("b", &second);
  const float red[4] = {1, 0, 0, 1};
  mEffect.setParameter("tint", red);
  std::vector<GLuint> sampled;
  mEffect.AppendSampledTextures(0, sampled);
  EXPECT_EQ(sampled, std::vector<GLuint>{first});
  sampled.clear();
  mEffect.AppendSampledTextures(1, sampled);
  std::sort(sampled.begin(), sampled.end());
  EXPECT_EQ(sampled, (std::vector<GLuint>{first, second}));

  const cEffect::ParameterValues saved = mEffect.SaveParameterValues();
  const float green[4] = {0, 1, 0, 1};
  mEffect.setParameter("tint", green);
  mEffect.setParameter("a", &second);
  sampled.clear();
  mEffect.AppendSampledTextures(0, sampled);
  EXPECT_EQ(sampled, std::vector<GLuint>{second});
  mEffect.RestoreParameterValues(saved);
  sampled.clear();
  mEffect.AppendSampledTextures(0, sampled);
  EXPECT_EQ(sampled, std::vector<GLuint>{first});
  const GLuint none = 0;
  mEffect.setParameter("a", &none);
  mEffect.setParameter("b", &none);
  EXPECT_EQ(DrawPass(mEffect), Rgba(255, 0, 0, 255)) << "the tint set before saving";
}

TEST_F(EffectGL, PassStatesAreAppliedAndPutBack) {
  Create(OnePass("void fs() { gl_FragColor = vec4(0.25, 0.0, 0.0, 1.0); }", "fs",
                 "BlendEnable = true; BlendFunc = int2(One, One); DepthTestEnable = false; "
                 "ColorMask = bool4(true, false, true, true); CullFace = Front;"));
  glDisable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_DEPTH_TEST);
  glClearColor(0.25f, 0.5f, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  mEffect.setPassState(0);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  DrawQuad();
  // Set again while active (as a render object's BeginPass does): nothing is saved twice.
  mEffect.setPassState(0);
  mEffect.resetPassState(0);
  mEffect.resetPassState(0);

  const auto pixel = ReadPixel(32, 32);
  EXPECT_NEAR(pixel[0], 128, 1);  // 0.25 + 0.25 added
  EXPECT_NEAR(pixel[1], 128, 1);  // green masked off
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  GLint source = 0;
  GLint cull = 0;
  GLboolean mask[4];
  glGetIntegerv(GL_BLEND_SRC_RGB, &source);
  glGetIntegerv(GL_CULL_FACE_MODE, &cull);
  glGetBooleanv(GL_COLOR_WRITEMASK, mask);
  EXPECT_EQ(source, GL_SRC_ALPHA);
  EXPECT_EQ(cull, GL_BACK);
  EXPECT_TRUE(mask[1]);
  GLint program = -1;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  EXPECT_EQ(program, 0);
  glDisable(GL_DEPTH_TEST);
  glBlendFunc(GL_ONE, GL_ZERO);
}

TEST_F(EffectGL, ValuesSetAtAnyTimeReachTheNextDraw) {
  Create(std::string(VERTEX) +
         "uniform vec4 colour;\n"
         "void fsA() { gl_FragColor = colour; }\n"
         "void fsB() { gl_FragColor = colour.bgra; }\n"
         "technique T { pass A { VertexProgram = vsQuad; FragmentProgram = fsA; }\n"
         "              pass B { VertexProgram = vsQuad; FragmentProgram = fsB; } }\n");
  ASSERT_EQ(mEffect.passCount(), 2);
  const float red[4] = {1, 0, 0, 1};
  const float green[4] = {0, 1, 0, 1};
  mEffect.setParameter("colour", red);
  mEffect.setPassState(0);
  DrawQuad();
  EXPECT_EQ(ReadPixel(32, 32), Rgba(255, 0, 0, 255));
  // Set while pass A is active: A's next draw sees it, and so does pass B when it is set.
  mEffect.setParameter("colour", green);
  DrawQuad();
  EXPECT_EQ(ReadPixel(32, 32), Rgba(0, 255, 0, 255));
  mEffect.setPassState(1);  // resets pass A first
  EXPECT_EQ(mEffect.ActivePass(), 1);
  DrawQuad();
  mEffect.resetPassState(1);
  EXPECT_EQ(ReadPixel(32, 32), Rgba(0, 255, 0, 255));
  mEffect.setParameter("colour", red);
  EXPECT_EQ(DrawPass(mEffect, 1), Rgba(0, 0, 255, 255));
}

TEST_F(EffectGL, StateMatricesFollowTheFlags) {
  Create(OnePass("uniform mat4 m;\nvoid fs() { gl_FragColor = m[0]; }", "fs"));
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-1, 1, -1, 1, 1, 10);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glScalef(2, 3, 4);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(1, 2, 3);
  glRotatef(30, 0, 0, 1);
  float modelView[16];
  float projection[16];
  float texture[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  glGetFloatv(GL_TEXTURE_MATRIX, texture);
  float mvp[16];
  float inverse[16];
  float transposed[16];
  float inverseTransposed[16];
  MultiplyMatrix(projection, modelView, mvp);
  ASSERT_TRUE(InvertMatrix(modelView, inverse));
  TransposeMatrix(modelView, transposed);
  TransposeMatrix(inverse, inverseTransposed);

  const struct {
    int flags;
    const float* expected;
  } cases[] = {
      {0x11, modelView},  {0x21, projection}, {0x41, texture},         {0x81, mvp},
      {0x12, transposed}, {0x14, inverse},    {0x18, inverseTransposed}, {0x10, modelView},
  };
  const GLuint program = mEffect.PassProgram(0);
  const GLint location = glGetUniformLocation(program, "m");
  for (const auto& c : cases) {
    mEffect.setStateMatrix("m", c.flags);
    mEffect.setPassState(0);
    GLfloat uploaded[16];
    glGetUniformfv(program, location, uploaded);
    mEffect.resetPassState(0);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(uploaded[i], c.expected[i], 1e-5) << "flags " << c.flags << " element " << i;
  }
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

TEST_F(EffectGL, TheModelViewProjectionMatrixPlacesGeometry) {
  Create("uniform mat4 projMat;\n"
         "void vs() { gl_Position = projMat * gl_Vertex; }\n"
         "void fs() { gl_FragColor = vec4(1.0); }\n"
         "technique T { pass { VertexProgram = vs; FragmentProgram = fs; } }\n");
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 1, 0, 1, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0.5f, 0, 0);
  glScalef(0.5f, 1, 1);
  mEffect.setStateMatrix("projMat", 0x81);
  mEffect.setPassState(0);
  glBegin(GL_QUADS);
  glVertex2f(0, 0);
  glVertex2f(1, 0);
  glVertex2f(1, 1);
  glVertex2f(0, 1);
  glEnd();
  mEffect.resetPassState(0);
  EXPECT_EQ(ReadPixel(16, 32), Rgba(0, 0, 0, 255));
  EXPECT_EQ(ReadPixel(48, 32), Rgba(255, 255, 255, 255));
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

TEST_F(EffectGL, TheFirstTechniqueThatBuildsIsUsedWithItsPassesInOrder) {
  Create(std::string(VERTEX) +
         "void fsBroken() { gl_FragColor = notDeclared; }\n"
         "void fsRed() { gl_FragColor = vec4(1.0, 0.0, 0.0, 1.0); }\n"
         "void fsGreen() { gl_FragColor = vec4(0.0, 1.0, 0.0, 1.0); }\n"
         "technique Fancy { pass { VertexProgram = vsQuad; FragmentProgram = fsBroken; } }\n"
         "technique Plain { pass First { VertexProgram = vsQuad; FragmentProgram = fsGreen; }\n"
         "                  pass Second { VertexProgram = vsQuad; FragmentProgram = fsRed; } }\n");
  EXPECT_EQ(mEffect.TechniqueIndex(), 1);
  ASSERT_EQ(mEffect.passCount(), 2);
  EXPECT_EQ(DrawPass(mEffect, 0), Rgba(0, 255, 0, 255));
  EXPECT_EQ(DrawPass(mEffect, 1), Rgba(255, 0, 0, 255));
  // The compiler's message points at the line of the effect file.
  EXPECT_NE(mEffect.Log().find("test.cgfx:2:"), std::string::npos) << mEffect.Log();
  EXPECT_NE(mEffect.Log().find("notDeclared"), std::string::npos) << mEffect.Log();
}

TEST_F(EffectGL, AFileWithoutAUsableTechniqueIsNotValid) {
  cEffect effect;
  EXPECT_FALSE(effect.Create("void f() {\n", "broken.fx"));
  EXPECT_EQ(effect.passCount(), 0);
  EXPECT_EQ(effect.Log(), "broken.fx:1: unclosed bracket\n");
  effect.setPassState(0);
  effect.setParameter("x", &effect);
  EXPECT_EQ(effect.ActivePass(), -1);

  EXPECT_FALSE(effect.Create(std::string(VERTEX) + "technique T { pass { VertexProgram = vsQuad; FragmentProgram = gone; } }",
                             "missing.fx"));
  EXPECT_NE(effect.Log().find("missing.fx:2: no function 'gone' for the fragment program"), std::string::npos)
      << effect.Log();
}

TEST_F(EffectGL, WithoutGLTwoTheEffectFailsWithAMessageInsteadOfCrashing) {
  // What a headless tool sees: GLEW's entry points are null without a GL 2 context.
  const PFNGLCREATESHADERPROC createShader = __glewCreateShader;
  __glewCreateShader = nullptr;
  cEffect effect;
  const bool created = effect.Create(OnePass("void fs() { gl_FragColor = vec4(1.0); }", "fs"), "headless.cgfx");
  __glewCreateShader = createShader;
  EXPECT_FALSE(created);
  EXPECT_NE(effect.Log().find("headless.cgfx: no OpenGL 2.0 context to build the effect on"), std::string::npos)
      << effect.Log();
}

// The complete examples of the author's guide (code blocks that start with a file comment) build.
TEST_F(EffectGL, TheGuidesCompleteExamplesBuild) {
  const std::string guide = ReadSourceFile("docs/effects.md");
  const std::string open = "```glsl\n// data/shader/";
  int examples = 0;
  for (size_t at = guide.find(open); at != std::string::npos; at = guide.find(open, at + 1)) {
    const size_t begin = at + 8;
    const std::string example = guide.substr(begin, guide.find("```", begin) - begin);
    cEffect effect;
    EXPECT_TRUE(effect.Create(example, "example")) << example << effect.Log();
    ++examples;
  }
  EXPECT_EQ(examples, 2);
}

}  // namespace
