// What the warm-up reads from an effect: the buffers it can sample, and whether a pass replaces
// its whole target or keeps some of what was there.
#include <string>

#include "render/effect/effect.h"
#include "tests/support/gl_fixture.h"
#include "tools/capture/composition_steps.h"

namespace {

std::string Effect(const std::string& uniforms, const std::string& fragmentBody, const std::string& states) {
  return "void vsQuad() { gl_Position = gl_Vertex; }\n" + uniforms +
         "\nvoid helper() { " + fragmentBody + " }\nvoid fs() { helper(); }\n"
         "technique T { pass P { VertexProgram = vsQuad; FragmentProgram = fs; " + states + " } }\n";
}

class CompositionStepsGL : public GLTest {
 protected:
  bool Covers(const std::string& fragmentBody, const std::string& states) {
    cEffect effect;
    EXPECT_TRUE(effect.Create(Effect("", fragmentBody, states), "test.cgfx")) << effect.Log();
    return PassCoversTarget(effect, 0);
  }
};

TEST_F(CompositionStepsGL, SamplersByTheCompositionsNamesAreRead) {
  cEffect effect;
  ASSERT_TRUE(effect.Create(Effect("uniform sampler2D srcCBuf2; uniform sampler2D srcZBuf7; uniform sampler2D workBuf0;\n"
                                   "uniform sampler2D mine;",
                                   "gl_FragColor = texture2D(srcCBuf2, vec2(0.0)) + texture2D(srcZBuf7, vec2(0.0)) + "
                                   "texture2D(workBuf0, vec2(0.0)) + texture2D(mine, vec2(0.0));",
                                   ""),
                            "test.cgfx"))
      << effect.Log();
  EXPECT_EQ(BuffersSampledByName(effect),
            BufferBit(COMPOSITION_LINE_BUFFER + 2) | BufferBit(COMPOSITION_LINE_BUFFER + 7) | BufferBit(COMPOSITION_WORK_BUFFER));
}

TEST_F(CompositionStepsGL, OnlyAPassThatWritesEveryPixelCoversItsTarget) {
  const std::string white = "gl_FragColor = vec4(1.0);";
  EXPECT_TRUE(Covers(white, ""));
  EXPECT_TRUE(Covers(white, "DepthTestEnable = false; BlendEnable = false;"));
  EXPECT_FALSE(Covers(white, "BlendEnable = true; BlendFunc = int2(One, One);"));
  EXPECT_TRUE(Covers(white, "BlendEnable = true; BlendEnable = false;")) << "the last assignment wins";
  EXPECT_FALSE(Covers(white, "AlphaTestEnable = true;"));
  EXPECT_FALSE(Covers(white, "ColorMask = bool4(true, true, false, true);"));
  EXPECT_FALSE(Covers(white, "CullFaceEnable = true;"));
  EXPECT_FALSE(Covers("if (gl_FragCoord.x < 8.0) discard; " + white, "")) << "discard in a function the pass calls";
}

}  // namespace
