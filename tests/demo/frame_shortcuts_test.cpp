// Frame composition draws only what can change a pixel: every frame of the test production must be
// the same, byte for byte, as the frame drawn with every buffer, pass and clear (everyPass), and
// the shortcuts must really be taken where they apply and not where they do not.
#include <cstdio>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "demo/demo_manager.h"
#include "demo/headless_demo.h"
#include "render/screen_buffer.h"
#include "render/texture.h"
#include "render/texture_manager.h"
#include "resources/post_effect_manager.h"
#include "tests/support/memory_pack.h"
#include "tests/support/test_paths.h"

namespace {

constexpr int WIDTH = 160;
constexpr int HEIGHT = 90;
constexpr uint32_t PRODUCTION_MS = 8000;
constexpr int FRAME_COUNT = 32;
// The test production's flash, from 6000 ms on, replaces the final buffer that the glow drew.
constexpr uint32_t FLASH_START_MS = 6000;
constexpr int LINE_BYTES_PER_PIXEL = 8 + 4;  // 16-bit float RGBA and a 32-bit depth
constexpr int COLOUR_BYTES_PER_PIXEL = 8;

struct Frame {
  uint32_t t;
  std::vector<uint8_t> pixels;
  PassInventory inventory;
};

HeadlessOptions Options(int fsaa, int aspectWidth, int aspectHeight, bool everyPass,
                        const std::string& pack = BinaryPath("test-production/torvane.pak")) {
  HeadlessOptions options;
  options.packPath = pack;
  options.frame.width = WIDTH;
  options.frame.height = HEIGHT;
  options.frame.fsaaLevel = fsaa;
  options.frame.aspectWidth = aspectWidth;
  options.frame.aspectHeight = aspectHeight;
  options.frame.everyPass = everyPass;
  return options;
}

std::vector<Frame> RenderFrames(const HeadlessOptions& options, int count) {
  HeadlessDemo demo;
  std::string error;
  EXPECT_TRUE(demo.Start(options, error)) << error;
  std::vector<Frame> frames;
  for (int i = 0; i < count; ++i) {
    const uint32_t t = PRODUCTION_MS * static_cast<uint32_t>(i) / static_cast<uint32_t>(count);
    std::vector<uint8_t> pixels = demo.RenderFrame(t);
    frames.push_back({t, std::move(pixels), gDemoManager.Composer().LastInventory()});
  }
  return frames;
}

// "" when the frames are the same, else where they first differ.
std::string Difference(const std::vector<Frame>& expected, const std::vector<Frame>& actual) {
  if (expected.size() != actual.size()) return "a different number of frames";
  for (size_t f = 0; f < expected.size(); ++f) {
    const std::vector<uint8_t>& a = expected[f].pixels;
    const std::vector<uint8_t>& b = actual[f].pixels;
    if (a.size() != b.size()) return "frame at " + std::to_string(expected[f].t) + " ms differs in size";
    size_t differing = 0;
    for (size_t i = 0; i < a.size(); ++i) differing += a[i] != b[i];
    if (differing) {
      return std::to_string(differing) + " bytes differ in the frame at " + std::to_string(expected[f].t) + " ms";
    }
  }
  return "";
}

int SupersamplePassesStepByStep(int lines, int fsaa) { return lines * (fsaa == 0 ? 1 : fsaa + 1); }
// Without the copy, and without the divide for 2, 4 or 8 samples.
int SupersamplePassesDirect(int lines, int fsaa) { return lines * (fsaa == 0 ? 0 : fsaa - 1); }

struct Setting {
  int fsaa;
  int aspectWidth;
  int aspectHeight;
};

TEST(FrameShortcuts, EveryFrameOfTheTestProductionIsTheSameAsWithEveryPass) {
  for (const Setting s : {Setting{0, 16, 9}, Setting{0, 4, 3}, Setting{4, 16, 9}, Setting{4, 4, 3}}) {
    SCOPED_TRACE("FSAA " + std::to_string(s.fsaa) + ", " + std::to_string(s.aspectWidth) + ":" +
                 std::to_string(s.aspectHeight));
    const std::vector<Frame> reference = RenderFrames(Options(s.fsaa, s.aspectWidth, s.aspectHeight, true), FRAME_COUNT);
    const std::vector<Frame> shortcut = RenderFrames(Options(s.fsaa, s.aspectWidth, s.aspectHeight, false), FRAME_COUNT);
    ASSERT_EQ(Difference(reference, shortcut), "");

    const bool pictureFillsWindow = s.aspectWidth * 9 == s.aspectHeight * 16;
    for (size_t f = 0; f < reference.size(); ++f) {
      const PassInventory& all = reference[f].inventory;
      const PassInventory& few = shortcut[f].inventory;
      SCOPED_TRACE("at " + std::to_string(reference[f].t) + " ms");
      const int lines = all.scenePasses / std::max(s.fsaa, 1);
      EXPECT_EQ(few.scenePasses, all.scenePasses);
      EXPECT_EQ(all.supersamplePasses, SupersamplePassesStepByStep(lines, s.fsaa));
      EXPECT_EQ(few.supersamplePasses, SupersamplePassesDirect(lines, s.fsaa));
      if (reference[f].t >= FLASH_START_MS) {
        EXPECT_LT(few.postEffectPasses, all.postEffectPasses) << "the glow under the flash is skipped";
      } else {
        EXPECT_EQ(few.postEffectPasses, all.postEffectPasses);
      }
      EXPECT_EQ(all.finalPasses, 2);
      EXPECT_EQ(few.finalPasses, pictureFillsWindow ? 1 : 2) << "the border only where the picture leaves bars";
      EXPECT_EQ(all.outputClears, 2);
      EXPECT_EQ(few.outputClears, 0) << "the border or the picture covers the whole output";
    }
  }
}

TEST(FrameShortcuts, OnlyTheBuffersTheProductionDrawsIntoHaveStorage) {
  const size_t pixels = static_cast<size_t>(WIDTH) * HEIGHT;
  for (const int fsaa : {0, 4}) {
    HeadlessDemo demo;
    std::string error;
    ASSERT_TRUE(demo.Start(Options(fsaa, 16, 9, false), error)) << error;
    FrameComposer& composer = gDemoManager.Composer();
    // The test production draws lines 0 and 1 and, through its layering post-effect, work buffer 0.
    for (int i = 0; i < SCENE_LINE_COUNT; ++i) {
      EXPECT_EQ(composer.LineBuffer(i)->GetFramebuffer() != 0, i <= 1) << "line " << i;
      EXPECT_EQ(composer.WorkBuffer(i)->GetFramebuffer() != 0, i == 0) << "work buffer " << i;
    }
    EXPECT_EQ(composer.LineBuffer(5), composer.WorkBuffer(5)) << "one shared stand-in";
    EXPECT_EQ(composer.LineBuffer(5)->GetColor()->GetWidth(), 1);
    // Supersamples after the first still need the temporary buffer, never its depth.
    ASSERT_EQ(composer.TemporaryBuffer() != nullptr, fsaa > 1);
    const size_t temporary = fsaa > 1 ? pixels * COLOUR_BYTES_PER_PIXEL : 0;
    EXPECT_EQ(composer.TemporaryBuffer() ? composer.TemporaryBuffer()->GetDepth() : nullptr, nullptr);
    EXPECT_EQ(composer.ScreenBufferBytes(), pixels * (2 * LINE_BYTES_PER_PIXEL + 2 * COLOUR_BYTES_PER_PIXEL) + temporary);
    // What a reload of the definitions does: decide again and apply; dropped buffers stand in.
    composer.UseBuffers(ScreenBufferUse{});
    EXPECT_EQ(composer.LineBuffer(0)->GetFramebuffer(), 0u);
    EXPECT_EQ(composer.ScreenBufferBytes(), pixels * COLOUR_BYTES_PER_PIXEL + temporary);
    composer.UseBuffers(DecideScreenBufferUse(gDemoManager.LineTable(), gPostEffectManager.Entries()));
    EXPECT_EQ(composer.ScreenBufferBytes(), pixels * (2 * LINE_BYTES_PER_PIXEL + 2 * COLOUR_BYTES_PER_PIXEL) + temporary);

    demo.Stop();
    ASSERT_TRUE(demo.Start(Options(fsaa, 16, 9, true), error)) << error;
    // Temporary and ten lines with depth, ten work buffers and the final buffer without.
    EXPECT_EQ(gDemoManager.Composer().ScreenBufferBytes(),
              pixels * (11 * LINE_BYTES_PER_PIXEL + 11 * COLOUR_BYTES_PER_PIXEL));
  }
}

// The test production's own packed data with some entries replaced, written where a headless demo
// can open it.
class ProductionVariant {
 public:
  explicit ProductionVariant(const std::vector<std::pair<std::string, std::string>>& replaced) {
    namespace fs = std::filesystem;
    const fs::path stage = BinaryPath("content/stage");
    PackContents entries;
    for (const auto& file : fs::recursive_directory_iterator(stage)) {
      if (!file.is_regular_file()) continue;
      std::string name = fs::relative(file.path(), stage).generic_string();
      for (char& c : name) c = c == '/' ? '\\' : c;
      std::ifstream in(file.path(), std::ios::binary);
      std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      for (const auto& [path, text] : replaced) {
        if (path == name) bytes = text;
      }
      entries.emplace_back(name, bytes);
    }
    // Tests run in processes side by side: each variant gets a file of its own.
    static int made = 0;
    mPath = testing::TempDir() + "/production_variant_" + std::to_string(::getpid()) + "_" + std::to_string(++made) + ".pak";
    std::ofstream(mPath, std::ios::binary) << PackImage(entries);
  }
  ~ProductionVariant() { std::remove(mPath.c_str()); }
  const std::string& Path() const { return mPath; }

 private:
  std::string mPath;
};

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The supersampling effect is content: the shortcut follows what it does, not its name.
TEST(FrameShortcuts, TheSupersamplingShortcutFollowsWhatTheEffectDoes) {
  const std::string msaa = ReadSourceFile("content/core/shader/msaa.cgfx");
  const std::string reworded = "// reworded: the same passes\n" +
                               Replaced(msaa, "void fsSample() {\n  gl_FragColor = texture2D(srcColBuf0, vUv);\n}",
                                        "void fsSample() { /* one sample */ gl_FragColor = texture2D(srcColBuf0, vUv); }");
  const std::string weighted = Replaced(msaa, "BlendFunc = int2(One, One);", "BlendFunc = int2(One, OneMinusSrcAlpha);");
  constexpr int FSAA = 4;
  constexpr int FRAMES = 6;
  for (const auto& [text, plain] : {std::pair{reworded, true}, std::pair{weighted, false}}) {
    SCOPED_TRACE(plain ? "reworded plain average" : "weighted average");
    ProductionVariant variant({{"data\\core\\shader\\msaa.cgfx", text}});
    const std::vector<Frame> reference = RenderFrames(Options(FSAA, 16, 9, true, variant.Path()), FRAMES);
    const std::vector<Frame> shortcut = RenderFrames(Options(FSAA, 16, 9, false, variant.Path()), FRAMES);
    ASSERT_EQ(Difference(reference, shortcut), "");
    for (size_t f = 0; f < shortcut.size(); ++f) {
      const int lines = shortcut[f].inventory.scenePasses / FSAA;
      EXPECT_EQ(shortcut[f].inventory.supersamplePasses,
                plain ? SupersamplePassesDirect(lines, FSAA) : SupersamplePassesStepByStep(lines, FSAA));
    }
  }
}

// Line by line, on the composition of a started production with scenes that only clear, into
// line 2, which the suite plans storage for, and line 3, which it does not.
class LineShortcutTest : public ::testing::Test {
 protected:
  static constexpr int PLANNED = 2;
  static constexpr int UNPLANNED = 3;

  static void SetUpTestSuite() {
    sDemo = new HeadlessDemo;
    sStarted = sDemo->Start(Options(2, 16, 9, false), sError);
    if (!sStarted) return;
    ScreenBufferUse use = Composer().Config().everyPass ? ScreenBufferUse::All() : ScreenBufferUse{};
    use.lines[PLANNED] = true;
    Composer().UseBuffers(use);
  }
  static void TearDownTestSuite() {
    delete sDemo;
    sDemo = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(sStarted) << sError; }
  void TearDown() override { glClearColor(0, 0, 0, 1); }

  static FrameComposer& Composer() { return gDemoManager.Composer(); }

  // The line's first texel after its scene cleared it to colour, at every sample.
  static float LineAfterDrawing(int line, const SceneLineTable& table, const float colour[4]) {
    Composer().renderSceneLines(0, table, [&](int, float) {
      glClearColor(colour[0], colour[1], colour[2], colour[3]);
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    });
    float texel[4] = {};
    Composer().LineBuffer(line)->bind();
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_FLOAT, texel);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    return texel[0];
  }
  static void FillLine(int line, float value) {
    Composer().LineBuffer(line)->bind();
    glClearColor(value, value, value, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  }

  static HeadlessDemo* sDemo;
  static bool sStarted;
  static std::string sError;
};

HeadlessDemo* LineShortcutTest::sDemo = nullptr;
bool LineShortcutTest::sStarted = false;
std::string LineShortcutTest::sError;

TEST_F(LineShortcutTest, ALineThatNothingPlannedForGetsStorageWhenFirstDrawn) {
  EXPECT_NE(Composer().LineBuffer(PLANNED)->GetFramebuffer(), 0u);
  EXPECT_EQ(Composer().LineBuffer(UNPLANNED)->GetFramebuffer(), 0u);
  SceneLineTable table;
  table.Add(UNPLANNED, 0, 1000, 0);
  const float grey[4] = {0.5f, 0.5f, 0.5f, 1.0f};
  EXPECT_FLOAT_EQ(LineAfterDrawing(UNPLANNED, table, grey), 0.5f);
  EXPECT_NE(Composer().LineBuffer(UNPLANNED)->GetFramebuffer(), 0u);
  EXPECT_EQ(Composer().LastInventory().supersamplePasses, SupersamplePassesDirect(1, 2));
}

// The copy into the line buffer is alpha-tested: where a sample's pixels fail the test the line
// keeps its old picture (which the divide then halves). Drawing straight into the line buffer
// would not keep it, so such a frame is drawn step by step.
TEST_F(LineShortcutTest, ClearedPixelsThatFailTheAlphaTestKeepTheOldPicture) {
  SceneLineTable table;
  table.Add(PLANNED, 0, 1000, 0);
  FillLine(PLANNED, 0.75f);
  const float transparent[4] = {0.25f, 0.25f, 0.25f, 0.0f};
  glClearColor(0.25f, 0.25f, 0.25f, 0.0f);
  EXPECT_FLOAT_EQ(LineAfterDrawing(PLANNED, table, transparent), 0.75f / 2);
  EXPECT_EQ(Composer().LastInventory().supersamplePasses, SupersamplePassesStepByStep(1, 2));
}

// A scene that may leave its buffer untouched would show, step by step, whatever the temporary
// buffer last held, which drawing straight into the line buffer would not; a table with such a
// scene is drawn step by step.
TEST_F(LineShortcutTest, ATableWithASceneThatMayNotDrawIsDrawnStepByStep) {
  SceneLineTable table;
  table.Add(PLANNED, 0, 1000, 0, false);
  const float grey[4] = {0.5f, 0.5f, 0.5f, 1.0f};
  EXPECT_FLOAT_EQ(LineAfterDrawing(PLANNED, table, grey), 0.5f);
  EXPECT_EQ(Composer().LastInventory().supersamplePasses, SupersamplePassesStepByStep(1, 2));
}

}  // namespace
