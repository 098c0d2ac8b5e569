// What a pass's GLSL is known to write, and whether a pass in a GL state replaces every pixel of
// its target: read from text, then checked against what GL really draws.
#include "render/effect/pass_output.h"

#include <optional>
#include <string>

#include "render/effect/draw_state.h"
#include "render/effect/effect.h"
#include "render/effect/parser.h"
#include "tests/support/resource_pack_test.h"
#include "tests/support/test_paths.h"

namespace {

const char SCREEN_VERTEX[] =
    "uniform mat4 projMat : WORLDVIEWPROJECTION;\n"
    "varying vec2 vUv;\n"
    "void vs() { vUv = gl_MultiTexCoord0.xy; gl_Position = projMat * gl_Vertex; }\n";

std::string Effect(const std::string& vertex, const std::string& fragment, const std::string& states = "") {
  return vertex + "uniform sampler2D tex;\n" + fragment +
         "\ntechnique T { pass P { VertexProgram = vs; FragmentProgram = fs; " + states + " } }\n";
}

PassOutput Read(const std::string& text, int pass = 0) {
  EffectSource source;
  if (!ParseEffect(text, source) || source.techniques.empty()) return {};
  return ReadPassOutput(source, source.techniques[0].passes.at(static_cast<size_t>(pass)));
}

struct FragmentCase {
  const char* fragment;
  bool writesEveryFragment;
  std::optional<float> alpha;
};

TEST(PassOutput, ReadsWhetherTheFragmentProgramEndsByWritingEveryFragmentAndItsAlpha) {
  const FragmentCase cases[] = {
      {"void fs() { gl_FragColor = vec4(texture2D(tex, vUv).rgb, 1.0); }", true, 1.0f},
      {"void fs() { gl_FragColor = vec4(0.25); }", true, 0.25f},
      {"void fs() { gl_FragColor = vec4(0.1, 0.2, 0.3, -0.5); }", true, -0.5f},
      {"void fs() { gl_FragColor = texture2D(tex, vUv); }", true, std::nullopt},
      {"void fs() { gl_FragColor = vec4(1.0) * texture2D(tex, vUv).a; }", true, std::nullopt},
      {"void fs() { vec3 c = vec3(0.5); gl_FragColor = vec4(c, max(c.r, 0.5)); }", true, std::nullopt},
      {"void fs() { gl_FragColor = vec4(1.0); if (vUv.x < 0.5) discard; }", false, std::nullopt},
      {"void cut() { discard; }\nvoid fs() { if (vUv.x < 0.5) cut(); gl_FragColor = vec4(1.0); }", false, std::nullopt},
      {"void fs() { if (vUv.x < 0.5) return; gl_FragColor = vec4(1.0); }", false, std::nullopt},
      {"void fs() { if (vUv.x < 0.5) gl_FragColor = vec4(1.0); }", false, std::nullopt},
      {"void fs() { if (vUv.x < 0.5) { gl_FragColor = vec4(0.0); } else { gl_FragColor = vec4(1.0); } }", false,
       std::nullopt},
      {"void fs() { gl_FragColor = vec4(1.0); gl_FragColor.a = 0.0; }", false, std::nullopt},
      {"void fs() { gl_FragData[0] = vec4(1.0); }", false, std::nullopt},
      {"#define ONE 1.0\nvoid fs() { gl_FragColor = vec4(ONE); }", false, std::nullopt},
      {"void fs() { gl_FragColor = vec4(1.0); }\nvoid fs(float x) { gl_FragColor = vec4(x); }", false, std::nullopt},
  };
  for (const FragmentCase& c : cases) {
    const PassOutput output = Read(Effect(SCREEN_VERTEX, c.fragment));
    EXPECT_EQ(output.writesEveryFragment, c.writesEveryFragment) << c.fragment;
    EXPECT_EQ(output.constantAlpha, c.alpha) << c.fragment;
    // A macro of the file reaches the vertex program too.
    EXPECT_EQ(output.placesQuadAsGiven, std::string(c.fragment).find("#define") == std::string::npos) << c.fragment;
  }
}

TEST(PassOutput, ReadsWhetherTheVertexProgramPutsTheQuadWhereTheEngineDrewIt) {
  const char* fragment = "void fs() { gl_FragColor = vec4(1.0); }";
  const std::pair<std::string, bool> cases[] = {
      {SCREEN_VERTEX, true},
      {"uniform mat4 m : projMat; void vs() { gl_Position = m * gl_Vertex; }", true},
      {"void vs() { gl_Position = ftransform(); }", true},
      {"void vs() { gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; }", true},
      {"uniform mat4 shVProjMat; void vs() { gl_Position = shVProjMat * gl_Vertex; }", false},
      {"uniform mat4 projMat; void vs() { gl_Position = projMat * (gl_Vertex * 0.5); }", false},
      {"uniform mat4 projMat; void vs() { mat4 projMat = mat4(0.5); gl_Position = projMat * gl_Vertex; }", false},
      {"uniform mat4 projMat; void vs() { gl_Position = projMat * gl_Vertex; gl_Position.x *= 0.5; }", false},
      {"uniform mat4 projMat; void vs() { if (gl_Vertex.x > 0.5) gl_Position = projMat * gl_Vertex; }", false},
      {"uniform mat4 projMat[2]; void vs() { gl_Position = projMat[0] * gl_Vertex; }", false},
      {"uniform mat4 projMat; void vs() { gl_Position = gl_Vertex; }", false},
  };
  for (const auto& [vertex, places] : cases) {
    EXPECT_EQ(Read(Effect(vertex, fragment)).placesQuadAsGiven, places) << vertex;
  }
}

TEST(PassOutput, TheEnginesScreenEffectsAreRead) {
  const PassOutput picture = Read(ReadSourceFile("content/core/shader/finalScreenShader.cgfx"), 0);
  EXPECT_TRUE(picture.placesQuadAsGiven && picture.writesEveryFragment);
  EXPECT_EQ(picture.constantAlpha, 1.0f);
  const PassOutput copy = Read(ReadSourceFile("content/core/shader/msaa.cgfx"), 0);
  EXPECT_TRUE(copy.placesQuadAsGiven && copy.writesEveryFragment);
  EXPECT_EQ(copy.constantAlpha, std::nullopt);
  const PassOutput broken = Read("broken {");
  EXPECT_FALSE(broken.placesQuadAsGiven || broken.writesEveryFragment || broken.constantAlpha);
}

// The engine's state while a screen pass draws: the alpha test lets only fragments above about
// zero through, back faces are culled, blending is off.
DrawState ScreenPassState() {
  DrawState state;
  state.alphaTest = true;
  state.alphaFunc = GL_GREATER;
  state.alphaReference = 0.000001f;
  state.cullFace = true;
  return state;
}

struct ReplaceCase {
  const char* what;
  std::string text;
  bool replaces;
};

// Every verdict is held against GL: a pass said to replace its target must leave the same pixels
// over two different old pictures; one said not to must let the old picture through somewhere.
class ReplacesEveryPixelGL : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.000001f);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
  }
  void TearDown() override {
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
  }

  // The whole target after the pass drew over a clear of the given colour.
  static std::vector<uint8_t> DrawOver(cEffect& effect, float r, float g, float b, float a) {
    glClearColor(r, g, b, a);
    glClear(GL_COLOR_BUFFER_BIT);
    effect.setStateMatrix("projMat", STATE_MATRIX_MODELVIEW_PROJECTION | STATE_MATRIX_IDENTITY);
    effect.setPassState(0);
    DrawQuad(0, 0, 1, 1);
    effect.resetPassState(0);
    std::vector<uint8_t> pixels(WIDTH * HEIGHT * 4);
    glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }
};

TEST_F(ReplacesEveryPixelGL, AgreesWithWhatGLDraws) {
  const std::string half = "void fs() { gl_FragColor = vec4(0.5, 0.25, 0.75, 1.0); }";
  const std::string clearAlpha = "void fs() { gl_FragColor = vec4(0.5, 0.25, 0.75, 0.0); }";
  const std::string left = "void fs() { if (vUv.x < 0.5) discard; gl_FragColor = vec4(0.5, 0.25, 0.75, 1.0); }";
  const ReplaceCase cases[] = {
      {"opaque", Effect(SCREEN_VERTEX, half), true},
      {"blended", Effect(SCREEN_VERTEX, half, "BlendEnable = true; BlendFunc = int2(One, One);"), false},
      {"masked", Effect(SCREEN_VERTEX, half, "ColorMask = bool4(true, false, true, true);"), false},
      {"alpha tested away", Effect(SCREEN_VERTEX, clearAlpha), false},
      {"alpha test off", Effect(SCREEN_VERTEX, clearAlpha, "AlphaTestEnable = false;"), true},
      {"front culled", Effect(SCREEN_VERTEX, half, "CullFace = Front;"), false},
      {"clockwise front", Effect(SCREEN_VERTEX, half, "FrontFace = CW; CullFaceEnable = false;"), true},
      {"clockwise front, back culled", Effect(SCREEN_VERTEX, half, "FrontFace = CW;"), false},
      {"lines", Effect(SCREEN_VERTEX, half, "PolygonMode = int2(FrontAndBack, Line);"), false},
      {"discarding", Effect(SCREEN_VERTEX, left), false},
      {"half-size quad", Effect("uniform mat4 projMat; varying vec2 vUv;\n"
                                "void vs() { vUv = gl_MultiTexCoord0.xy; gl_Position = projMat * gl_Vertex * vec4(0.5, 1.0, 1.0, 1.0) "
                                "+ vec4(-0.5, 0.0, 0.0, 0.0); }\n",
                                half),
       false},
  };
  const DrawState base = ScreenPassState();
  for (const ReplaceCase& c : cases) {
    cEffect effect;
    ASSERT_TRUE(effect.Create(c.text, "case.cgfx")) << c.what << "\n" << effect.Log();
    const bool replaces = ReplacesEveryPixel(WithPassStates(base, *effect.PassSource(0)), effect.GetPassOutput(0), false);
    EXPECT_EQ(replaces, c.replaces) << c.what;
    const bool sameOverAnyPicture = DrawOver(effect, 1, 0, 0, 1) == DrawOver(effect, 0, 1, 1, 0);
    EXPECT_EQ(sameOverAnyPicture, c.replaces) << c.what << ": what GL drew";
  }
  glClearColor(0, 0, 0, 0);
}

TEST_F(ReplacesEveryPixelGL, TheStateIsReadFromGL) {
  const DrawState state = CurrentDrawState();
  EXPECT_TRUE(state.alphaTest);
  EXPECT_EQ(state.alphaFunc, static_cast<GLenum>(GL_GREATER));
  EXPECT_NEAR(state.alphaReference, 0.000001f, 1e-9);
  EXPECT_TRUE(state.cullFace);
  EXPECT_FALSE(state.blend);
  EXPECT_TRUE(PassesAlphaTest(state, 1.0f));
  EXPECT_FALSE(PassesAlphaTest(state, 0.0f));
  EXPECT_FALSE(PassesAlphaTest(state, 0.002f)) << "too close to the reference to be sure";
  DrawState off = state;
  off.alphaTest = false;
  EXPECT_TRUE(PassesAlphaTest(off, 0.0f));
}

}  // namespace
