#include <cmath>
#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "demo/demo_manager.h"
#include "demo/headless_demo.h"
#include "demo/loading_screen.h"
#include "render/screen_buffer.h"
#include "render/texture.h"
#include "render/texture_manager.h"
#include "resources/post_effect_manager.h"
#include "scene/render_object.h"
#include "tests/support/test_paths.h"

namespace {

constexpr int WIDTH = 128;
constexpr int HEIGHT = 72;

struct Drawn {
  int entry;
  int sample;
  float phase;
  double jitterX;
};

// The first RGBA texel of a texture, as floats.
std::vector<float> TexelOf(const cTexture* texture) {
  std::vector<float> texels(static_cast<size_t>(texture->GetWidth()) * texture->GetHeight() * 4);
  glBindTexture(GL_TEXTURE_2D, gTextureManager.lookupName(texture));
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, texels.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  return {texels[0], texels[1], texels[2], texels[3]};
}

void Fill(cScreenBuffer* buffer, float r, float g, float b) {
  buffer->bind();
  glClearColor(r, g, b, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

// The frame composition of the test production on a small headless context.
class FrameCompositionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sDemo = new HeadlessDemo;
    HeadlessOptions options;
    options.packPath = BinaryPath("test-production/torvane.pak");
    options.frame.width = WIDTH;
    options.frame.height = HEIGHT;
    sStarted = sDemo->Start(options, sError);
  }
  static void TearDownTestSuite() {
    delete sDemo;
    sDemo = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(sStarted) << sError; }

  static FrameComposer& Composer() { return gDemoManager.Composer(); }

  // Recreates the composition's buffers with another FSAA level or aspect.
  static void Reconfigure(int fsaa, int aspectWidth = 16, int aspectHeight = 9) {
    FrameConfig config = Composer().Config();
    config.fsaaLevel = fsaa;
    config.aspectWidth = aspectWidth;
    config.aspectHeight = aspectHeight;
    Composer().Create(config);
  }

  // Renders the lines at t with a scene that clears its buffer to 0.1 × (sample + 1).
  std::vector<Drawn> RenderLines(const SceneLineTable& table, uint32_t t) {
    std::vector<Drawn> drawn;
    Composer().renderSceneLines(t, table, [&](int entry, float phase) {
      int sample = Composer().CurrentSampleIndex();
      drawn.push_back({entry, sample, phase, CurrentJitter()[0]});
      float value = 0.1f * static_cast<float>(sample + 1);
      glClearColor(value, value, value, 1.0f);
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    });
    return drawn;
  }

  static HeadlessDemo* sDemo;
  static bool sStarted;
  static std::string sError;
};

HeadlessDemo* FrameCompositionTest::sDemo = nullptr;
bool FrameCompositionTest::sStarted = false;
std::string FrameCompositionTest::sError;

TEST_F(FrameCompositionTest, Fsaa4RendersSamples3To0AndAveragesThem) {
  Reconfigure(4);
  SceneLineTable table;
  table.Add(0, 0, 1000, 5);
  std::vector<Drawn> drawn = RenderLines(table, 500);
  ASSERT_EQ(drawn.size(), 4u);
  const auto jitter = JitterTableForLevel(4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(drawn[i].entry, 5);
    EXPECT_EQ(drawn[i].sample, 3 - i);
    EXPECT_FLOAT_EQ(drawn[i].phase, 0.5f);
    EXPECT_EQ(drawn[i].jitterX, jitter[3 - i].x);
  }
  // Copy of 0.4, plus 0.3, 0.2 and 0.1, divided by 4.
  EXPECT_NEAR(TexelOf(Composer().LineBuffer(0)->GetColor())[0], 0.25f, 0.005f);
  Reconfigure(0);
}

TEST_F(FrameCompositionTest, WithoutFsaaALineIsRenderedOnceAndCopied) {
  Reconfigure(0);
  SceneLineTable table;
  table.Add(3, 0, 1000, 2);
  std::vector<Drawn> drawn = RenderLines(table, 0);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].sample, 0);
  EXPECT_EQ(drawn[0].jitterX, 0.0);
  EXPECT_NEAR(TexelOf(Composer().LineBuffer(3)->GetColor())[0], 0.1f, 0.002f) << "copied, not divided";
}

TEST_F(FrameCompositionTest, SpanEndsAreInclusiveAndTheFirstActiveSlotOfALineWins) {
  Reconfigure(0);
  SceneLineTable table;
  table.Add(1, 1000, 2000, 7);
  table.Add(1, 1500, 3000, 8);
  Fill(Composer().LineBuffer(1), 0.9f, 0.0f, 0.0f);
  EXPECT_TRUE(RenderLines(table, 999).empty());
  EXPECT_NEAR(TexelOf(Composer().LineBuffer(1)->GetColor())[0], 0.9f, 0.002f) << "an idle line keeps its picture";

  std::vector<Drawn> atStart = RenderLines(table, 1000);
  ASSERT_EQ(atStart.size(), 1u);
  EXPECT_EQ(atStart[0].entry, 7);
  EXPECT_FLOAT_EQ(atStart[0].phase, 0.0f);
  std::vector<Drawn> atEnd = RenderLines(table, 2000);
  ASSERT_EQ(atEnd.size(), 1u);
  EXPECT_EQ(atEnd[0].entry, 7);
  EXPECT_FLOAT_EQ(atEnd[0].phase, 1.0f);
  std::vector<Drawn> after = RenderLines(table, 2001);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].entry, 8);
}

TEST_F(FrameCompositionTest, PostEffectsRunByPriorityAndThePassThroughFillsTheFinalBufferOtherwise) {
  ASSERT_EQ(gPostEffectManager.entryCount(), 3u);
  EXPECT_EQ(gPostEffectManager.Entry(0).execPrio, 5);
  EXPECT_EQ(gPostEffectManager.Entry(1).execPrio, 10);
  EXPECT_EQ(gPostEffectManager.Entry(2).execPrio, 20);
  EXPECT_EQ(Composer().renderPostEffects(1000), 2);
  EXPECT_EQ(Composer().renderPostEffects(7000), 3);

  Fill(Composer().LineBuffer(0), 0.2f, 0.4f, 0.6f);
  Fill(Composer().FinalBuffer(), 1.0f, 1.0f, 1.0f);
  EXPECT_EQ(Composer().renderPostEffects(9000), 0);
  std::vector<float> final = TexelOf(Composer().FinalBuffer()->GetColor());
  EXPECT_NEAR(final[0], 0.2f, 0.005f);
  EXPECT_NEAR(final[1], 0.4f, 0.005f);
  EXPECT_NEAR(final[2], 0.6f, 0.005f);
}

TEST_F(FrameCompositionTest, TheFinalPassLetterboxesA16By9PictureInsideTheDisplayAspect) {
  cScreenBuffer output(WIDTH, HEIGHT, GL_RGBA8, GL_UNSIGNED_BYTE, SCREEN_BUFFER_COLOR);
  struct Case {
    int aw, ah;
    float barFraction;  // of the height, above and below
  };
  for (Case c : {Case{16, 9, 0.0f}, Case{4, 3, 0.125f}, Case{16, 10, 0.05f}, Case{5, 4, 0.1484375f}}) {
    Reconfigure(0, c.aw, c.ah);
    Composer().SetOutputFramebuffer(output.GetFramebuffer());
    Fill(Composer().FinalBuffer(), 1.0f, 1.0f, 1.0f);
    Composer().composeFinalScreen();
    output.bind();
    std::vector<uint8_t> column(HEIGHT * 4);
    glReadPixels(WIDTH / 2, 0, 1, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, column.data());
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    int whiteRows = 0;
    for (int row = 0; row < HEIGHT; ++row) whiteRows += column[row * 4] > 128;
    int expectedWhite = static_cast<int>(std::lround(HEIGHT * (1.0f - 2.0f * c.barFraction)));
    EXPECT_NEAR(whiteRows, expectedWhite, 1) << c.aw << ":" << c.ah;
    EXPECT_EQ(column[(HEIGHT / 2) * 4], 255) << "the picture fills the middle";
    if (c.barFraction > 0.1f) {
      EXPECT_EQ(column[1 * 4], 0) << "a black bar at the bottom";
    }
  }
  Composer().SetOutputFramebuffer(0);
  Reconfigure(0);
}

TEST_F(FrameCompositionTest, TheLoadingBarGrowsFromTheCentreInsideItsFrame) {
  constexpr int w = 320, h = 240;
  cScreenBuffer target(w, h, GL_RGBA8, GL_UNSIGNED_BYTE, SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
  target.bind();
  glViewport(0, 0, w, h);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  LoadingScreen screen;
  screen.Draw(0.5f);
  std::vector<uint8_t> row(w * 4);
  glReadPixels(0, h / 2, w, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
  glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  glViewport(0, 0, WIDTH, HEIGHT);
  // At 10 units with a 45° field of view and 4:3, x units map to 160 + x / 5.523 × 160 pixels:
  // the bar reaches 2.375 (pixel 229), the black frame 4.875 (301), the white border 5 (305).
  auto red = [&](int x) { return row[x * 4]; };
  EXPECT_EQ(red(160), 255);
  EXPECT_EQ(red(220), 255);
  EXPECT_EQ(red(100), 255) << "symmetric about the centre";
  EXPECT_EQ(red(240), 0);
  EXPECT_EQ(red(290), 0);
  EXPECT_EQ(red(303), 255);
  EXPECT_EQ(red(316), 0);
}

}  // namespace
