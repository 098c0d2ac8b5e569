// Screen buffers on a real GL context, and the core effects that the frame composition runs over
// them: the supersampling average and the final screen.
#include "render/screen_buffer.h"

#include <array>
#include <memory>

#include "render/blank_texture.h"
#include "render/effect/effect.h"
#include "render/texture.h"
#include "render/texture_manager.h"
#include "tests/support/resource_pack_test.h"
#include "tests/support/test_paths.h"

namespace {

using Colour = std::array<float, 4>;

void Fill(cScreenBuffer& buffer, const Colour& colour) {
  buffer.bind();
  glClearColor(colour[0], colour[1], colour[2], colour[3]);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  glClearColor(0, 0, 0, 0);
}

Colour ReadColour(cScreenBuffer& buffer, int x, int y) {
  Colour colour{};
  buffer.bind();
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_FLOAT, colour.data());
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  return colour;
}

float DepthAt(const cTexture* depth, int x, int y) {
  std::vector<float> texels(static_cast<size_t>(depth->GetWidth()) * depth->GetHeight());
  glBindTexture(GL_TEXTURE_2D, gTextureManager.lookupName(depth));
  glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, texels.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  return texels[static_cast<size_t>(y) * depth->GetWidth() + x];
}

void ExpectColour(const Colour& actual, const Colour& expected) {
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], expected[i], 2e-3) << "component " << i;
}

class ScreenBufferTest : public GLTest {
 protected:
  static constexpr GLenum FLOAT = GL_RGBA16F_ARB;
};

TEST_F(ScreenBufferTest, HoldsFloatColourAndDepthTextures) {
  cScreenBuffer buffer(WIDTH, HEIGHT, FLOAT, GL_FLOAT, SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
  ASSERT_NE(buffer.GetColor(), nullptr);
  ASSERT_NE(buffer.GetDepth(), nullptr);
  EXPECT_TRUE(glIsFramebufferEXT(buffer.GetFramebuffer()));
  Fill(buffer, {2.0f, 0.5f, -1.0f, 1.0f});  // outside 0..1: only a float buffer keeps it
  ExpectColour(ReadColour(buffer, 5, 5), {2.0f, 0.5f, -1.0f, 1.0f});

  buffer.bind();
  glClear(GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  DrawQuad(-1, -1, 1, 1, 0.5f);
  glDisable(GL_DEPTH_TEST);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  EXPECT_NEAR(DepthAt(buffer.GetDepth(), 10, 10), 0.75f, 1e-4);
}

TEST_F(ScreenBufferTest, AColourOnlyBufferDrawsAsIfThereWereNoDepth) {
  cScreenBuffer buffer(WIDTH, HEIGHT, GL_RGBA8, GL_UNSIGNED_BYTE, SCREEN_BUFFER_COLOR);
  EXPECT_EQ(buffer.GetDepth(), nullptr);
  Fill(buffer, {0, 0, 0, 1});
  buffer.bind();
  glEnable(GL_DEPTH_TEST);
  glColor3f(1, 0, 0);
  DrawQuad(-1, -1, 1, 1, -0.5f);
  glColor3f(0, 1, 0);
  DrawQuad(-1, -1, 1, 1, 0.5f);  // farther, drawn later: wins without a depth buffer
  glColor3f(1, 1, 1);
  glDisable(GL_DEPTH_TEST);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  ExpectColour(ReadColour(buffer, 32, 32), {0, 1, 0, 1});
}

TEST_F(ScreenBufferTest, AttachDepthRendersIntoAnotherBuffersDepthUntilRestored) {
  cScreenBuffer line(WIDTH, HEIGHT, FLOAT, GL_FLOAT, SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
  cScreenBuffer temporary(WIDTH, HEIGHT, FLOAT, GL_FLOAT, SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
  for (cScreenBuffer* buffer : {&line, &temporary}) {
    buffer->bind();
    glClear(GL_DEPTH_BUFFER_BIT);
  }
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);

  temporary.attachDepth(gTextureManager.lookupName(line.GetDepth()));
  temporary.bind();
  glEnable(GL_DEPTH_TEST);
  DrawQuad(-1, -1, 1, 1, 0.5f);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  EXPECT_NEAR(DepthAt(line.GetDepth(), 32, 32), 0.75f, 1e-4);
  EXPECT_NEAR(DepthAt(temporary.GetDepth(), 32, 32), 1.0f, 1e-4);

  temporary.restoreDepth();
  temporary.bind();
  glDepthFunc(GL_ALWAYS);
  DrawQuad(-1, -1, 1, 1, 0.0f);
  glDepthFunc(GL_LESS);
  glDisable(GL_DEPTH_TEST);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  EXPECT_NEAR(DepthAt(temporary.GetDepth(), 32, 32), 0.5f, 1e-4);
  EXPECT_NEAR(DepthAt(line.GetDepth(), 32, 32), 0.75f, 1e-4);
}

TEST_F(ScreenBufferTest, DestructionDeletesTheFramebufferAndBothTextures) {
  auto* buffer = new cScreenBuffer(WIDTH, HEIGHT, GL_RGBA8, GL_UNSIGNED_BYTE, SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
  const GLuint framebuffer = buffer->GetFramebuffer();
  const GLuint colour = gTextureManager.lookupName(buffer->GetColor());
  const GLuint depth = gTextureManager.lookupName(buffer->GetDepth());
  ASSERT_TRUE(glIsTexture(colour) && glIsTexture(depth) && glIsFramebufferEXT(framebuffer));
  EXPECT_TRUE(buffer->IsKindOf("cScreenBuffer"));
  delete buffer;
  EXPECT_FALSE(glIsFramebufferEXT(framebuffer));
  EXPECT_FALSE(glIsTexture(colour));
  EXPECT_FALSE(glIsTexture(depth));

  cScreenBuffer empty;
  EXPECT_EQ(empty.GetFramebuffer(), 0u);
  empty.restoreDepth();
}

// The core effects as the frame composition drives them: screen pass (orthographic 0..1) with
// "projMat" set from the model-view-projection matrix.
class CoreEffectTest : public ScreenBufferTest {
 protected:
  void SetUp() override {
    ScreenBufferTest::SetUp();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }
  void TearDown() override {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
  }
  void Load(cEffect& effect, const char* name) {
    ASSERT_TRUE(effect.Create(ReadSourceFile(std::string("content/core/shader/") + name + ".cgfx"), name))
        << effect.Log();
    effect.setStateMatrix("projMat", 0x81);
  }
  static void RunPass(cEffect& effect, int pass, float x0 = 0, float y0 = 0, float x1 = 1, float y1 = 1) {
    effect.setPassState(pass);
    DrawQuad(x0, y0, x1, y1);
    effect.resetPassState(pass);
  }
};

TEST_F(CoreEffectTest, SupersamplingCopiesAddsAndDivides) {
  cEffect msaa;
  Load(msaa, "msaa");
  cScreenBuffer temporary(WIDTH, HEIGHT, FLOAT, GL_FLOAT, SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
  cScreenBuffer line(WIDTH, HEIGHT, FLOAT, GL_FLOAT, SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
  const GLuint sample = gTextureManager.lookupName(temporary.GetColor());
  const GLuint target = gTextureManager.lookupName(line.GetColor());
  msaa.setParameter("srcColBuf0", &sample);
  msaa.setParameter("srcColBuf1", &target);
  Fill(line, {0.9f, 0.9f, 0.9f, 0.9f});
  glEnable(GL_BLEND);  // the engine's own state, which the passes must leave as they found it

  const Colour samples[3] = {{0.3f, 0.6f, 0.0f, 1.0f}, {0.6f, 0.0f, 0.3f, 1.0f}, {0.0f, 0.3f, 0.6f, 1.0f}};
  for (int k = 0; k < 3; ++k) {
    Fill(temporary, samples[k]);
    line.bind();
    RunPass(msaa, k == 0 ? 0 : 1);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
  }
  ExpectColour(ReadColour(line, 32, 32), {0.9f, 0.9f, 0.9f, 3.0f});
  const float div = 3;
  msaa.setParameter("div", &div);
  line.bind();
  RunPass(msaa, 2);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  ExpectColour(ReadColour(line, 32, 32), {0.3f, 0.3f, 0.3f, 1.0f});
  GLint source = 0;
  glGetIntegerv(GL_BLEND_SRC_RGB, &source);
  EXPECT_EQ(source, GL_ONE);
  glDisable(GL_BLEND);
}

TEST_F(CoreEffectTest, FinalScreenDrawsTheBorderThenThePicture) {
  cEffect screen;
  Load(screen, "finalScreenShader");
  cScreenBuffer final(WIDTH, HEIGHT, GL_RGBA8, GL_UNSIGNED_BYTE, SCREEN_BUFFER_COLOR);
  Fill(final, {0.0f, 1.0f, 0.0f, 1.0f});
  const GLuint picture = gTextureManager.lookupName(final.GetColor());
  screen.setParameter("shScreenTexture", &picture);
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  RunPass(screen, 1);
  RunPass(screen, 0, 0, 0.125f, 1, 0.875f);  // 4:3 letter-box
  EXPECT_EQ(ReadPixel(32, 2), (std::vector<uint8_t>{0, 0, 0, 255}));
  EXPECT_EQ(ReadPixel(32, 32), (std::vector<uint8_t>{0, 255, 0, 255}));
  EXPECT_EQ(ReadPixel(32, 61), (std::vector<uint8_t>{0, 0, 0, 255}));
  glClearColor(0, 0, 0, 0);
}

TEST_F(CoreEffectTest, ThePassThroughEffectCopiesLineZero) {
  cEffect copy;
  Load(copy, "nullPostEffect");
  cScreenBuffer line(WIDTH, HEIGHT, FLOAT, GL_FLOAT, SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
  cScreenBuffer final(WIDTH, HEIGHT, FLOAT, GL_FLOAT, SCREEN_BUFFER_COLOR);
  Fill(line, {0.25f, 0.5f, 0.75f, 1.0f});
  const GLuint source = gTextureManager.lookupName(line.GetColor());
  copy.setParameter("srcCBuf0", &source);
  final.bind();
  for (int pass = 0; pass < copy.passCount(); ++pass) RunPass(copy, pass);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  ExpectColour(ReadColour(final, 40, 20), {0.25f, 0.5f, 0.75f, 1.0f});
}

// A production's unused buffers stand in with shared 1 x 1 blank textures: whatever an effect
// samples from one, at any place and with either filter, must equal what it samples from a real
// buffer that nothing has drawn into.
TEST_F(CoreEffectTest, AStandInSamplesAsABufferThatWasNeverDrawnInto) {
  std::unique_ptr<cTexture> blankColour(CreateBlankColourTexture());
  std::unique_ptr<cTexture> blankDepth(CreateBlankDepthTexture());
  cScreenBuffer standIn(blankColour.get(), blankDepth.get());
  cScreenBuffer neverDrawn(WIDTH, HEIGHT, FLOAT, GL_FLOAT, SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
  EXPECT_EQ(standIn.GetFramebuffer(), 0u);
  EXPECT_EQ(standIn.OwnedBytes(), 0u);
  EXPECT_EQ(neverDrawn.OwnedBytes(), static_cast<size_t>(WIDTH) * HEIGHT * (8 + 4));

  cEffect probe;
  ASSERT_TRUE(probe.Create(R"(
uniform mat4 projMat : WORLDVIEWPROJECTION;
uniform sampler2D colour = sampler_state { MinFilter = Nearest; MagFilter = Nearest; };
uniform sampler2D depth;
varying vec2 vUv;
void vs() { vUv = gl_MultiTexCoord0.xy * 1.5 - 0.25; gl_Position = projMat * gl_Vertex; }
void fsColour() { gl_FragColor = texture2D(colour, vUv) + vec4(0.5); }
void fsDepth() { gl_FragColor = texture2D(depth, vUv) + vec4(0.5); }
technique T {
  pass C { VertexProgram = vs; FragmentProgram = fsColour; }
  pass D { VertexProgram = vs; FragmentProgram = fsDepth; }
}
)",
                           "probe.cgfx"))
      << probe.Log();
  probe.setStateMatrix("projMat", 0x81);
  cScreenBuffer target(WIDTH, HEIGHT, FLOAT, GL_FLOAT, SCREEN_BUFFER_COLOR);
  auto sampled = [&](cScreenBuffer& source, int pass) {
    const GLuint colour = gTextureManager.lookupName(source.GetColor());
    const GLuint depth = gTextureManager.lookupName(source.GetDepth());
    probe.setParameter("colour", &colour);
    probe.setParameter("depth", &depth);
    target.bind();
    RunPass(probe, pass);
    std::vector<float> pixels(WIDTH * HEIGHT * 4);
    glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_FLOAT, pixels.data());
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    return pixels;
  };
  EXPECT_EQ(sampled(standIn, 0), sampled(neverDrawn, 0)) << "colour";
  EXPECT_EQ(sampled(standIn, 1), sampled(neverDrawn, 1)) << "depth";
}

}  // namespace
