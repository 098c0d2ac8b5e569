// Demo scenes: the cut timeline from the cameras, cut classes by scene name, the phase of a scene
// line on its cuts, and the loading bar.
#include "scene/demo_scene.h"

#include <cmath>
#include <limits>

#include "render/screen_buffer.h"
#include "resources/res_tdf.h"
#include "resources/resource_manager.h"
#include "scene/cut_choice.h"
#include "scene/scene_tdf_loader.h"
#include "tests/scene/scene_test_support.h"

// A cut class for the tests: takes every scene whose name begins with "probe" and records its
// calls as "Begin|Draw|End name phase".
class CSceneTdf_probe : public CSceneTdfDefault {
  CORE_DECLARE_DYNAMIC(CSceneTdf_probe)
  void BeginFrame(cTdfRender* renderer, float phase) override { Record("Begin", renderer, phase); }
  void DrawFrame(cTdfRender* renderer, float phase) override { Record("Draw", renderer, phase); }
  void EndFrame(cTdfRender* renderer, float phase) override { Record("End", renderer, phase); }
  void Start(cTdfRender* renderer) override { Record("Start", renderer, 0.0f); }

  struct Call {
    std::string what;
    std::string scene;
    float phase;
    cTdfRender* renderer;
  };
  static std::vector<Call> calls;

 private:
  void Record(const char* what, cTdfRender* renderer, float phase) {
    calls.push_back({what, GetSceneName(), phase, renderer});
  }
};
CORE_IMPLEMENT_DYNAMIC(CSceneTdf_probe, CSceneTdfDefault)
std::vector<CSceneTdf_probe::Call> CSceneTdf_probe::calls;

// A registered class whose name makes it look like a cut, though it is none.
class CSceneTdf_notACut : public CoreObject {
  CORE_DECLARE_DYNAMIC(CSceneTdf_notACut)
};
CORE_IMPLEMENT_DYNAMIC(CSceneTdf_notACut, CoreObject)

namespace {

constexpr char SCENE_PATH[] = "data\\tdf\\line.tdf";

// A scene whose cameras' key times are given, one text of times per camera, and a model object
// whose keys run later than every camera.
std::string Scene(const std::string& name, const std::vector<std::string>& cameras) {
  std::string text = "Scene \"" + name + "\" {\n";
  for (const std::string& times : cameras) {
    std::string eye;
    for (int i = 0; i < WordCount(times); ++i) eye += " 0 0 0";
    text += "  Object -1 {\n    CameraTrans 1\n    Visible 1\n" + KeyTimes(times) + "    Part \"camera_pos\" {\n" +
            "      Position {" + eye + " }\n    }\n  }\n";
  }
  return text + "  Object 5 {\n    DataNum 1\n    Time { 99 }\n    Part \"x\" {\n    }\n  }\n}\n";
}

std::string SceneFile(const std::vector<std::string>& scenes) {
  std::string text = TdfHeader();
  for (const std::string& scene : scenes) text += scene;
  return text + "Eof\n";
}

using Calls = std::vector<std::pair<std::string, std::string>>;

Calls CallNames() {
  Calls names;
  for (const auto& call : CSceneTdf_probe::calls) names.emplace_back(call.what, call.scene);
  return names;
}

class DemoSceneTest : public ScenePackTest {
 protected:
  void SetUp() override {
    ScenePackTest::SetUp();
    CSceneTdf_probe::calls.clear();
  }
  void OpenScenes(const std::vector<std::string>& scenes) { OpenPack({{SCENE_PATH, SceneFile(scenes)}}); }
  static std::unique_ptr<cDemoScene> Make(int32_t rangeStart = -1, int32_t rangeEnd = -1) {
    return std::make_unique<cDemoScene>(SCENE_PATH, "data\\shader\\line.cgfx", 3, 1000, 2000, rangeStart, rangeEnd);
  }
};

TEST_F(DemoSceneTest, CutsLieEndToEndAsLongAsTheirCameras) {
  OpenScenes({Scene("probeA", {"0 2 4.0"}), Scene("probeB", {"6.5 1"})});
  auto scene = Make();
  EXPECT_EQ(scene->GetAnimationPath(), SCENE_PATH);
  EXPECT_EQ(scene->GetShaderName(), "data\\shader\\line.cgfx");
  EXPECT_EQ(scene->GetLine(), 3);
  EXPECT_EQ(scene->GetStartTime(), 1000);
  EXPECT_EQ(scene->GetEndTime(), 2000);
  EXPECT_EQ(scene->GetRangeStart(), 0);
  EXPECT_EQ(scene->GetRangeEnd(), 10500);
  ASSERT_EQ(scene->Cuts().size(), 2u);
  const CSceneTdfDefault& first = *scene->Cuts()[0];
  const CSceneTdfDefault& second = *scene->Cuts()[1];
  EXPECT_EQ(first.GetSceneName(), "probeA");
  EXPECT_EQ(first.GetSceneIndex(), 0);
  EXPECT_EQ(first.GetStart(), 0);
  EXPECT_EQ(first.GetEnd(), 4000);
  EXPECT_EQ(second.GetSceneIndex(), 1);
  EXPECT_EQ(second.GetStart(), 4000);
  EXPECT_EQ(second.GetEnd(), 10500);
  // Every cut was started once, in order, with the scene's renderer.
  EXPECT_EQ(CallNames(), (Calls{{"Start", "probeA"}, {"Start", "probeB"}}));
  EXPECT_EQ(CSceneTdf_probe::calls[0].renderer, scene->GetRenderer());
  EXPECT_EQ(scene->GetRenderer()->GetSceneAnimation(), scene->GetSceneAnimation());
  EXPECT_TRUE(scene->OnEnter());
  EXPECT_TRUE(scene->OnLeave());

  CSceneTdf_probe::calls.clear();
  EXPECT_TRUE(scene->DrawPhase(0.5f));  // 5250 ms: the second cut
  EXPECT_EQ(CallNames(), (Calls{{"Begin", "probeB"}, {"Draw", "probeB"}, {"End", "probeB"}}));
  for (const auto& call : CSceneTdf_probe::calls) EXPECT_NEAR(call.phase, 1250.0f / 6500.0f, 1e-6);
}

TEST_F(DemoSceneTest, WhereCutsMeetTheEarlierWinsAtItsEnd) {
  OpenScenes({Scene("probeA", {"4"}), Scene("probeB", {"6.5"})});
  auto scene = Make(-1, 10000);
  EXPECT_EQ(scene->GetRangeEnd(), 10000);
  CSceneTdf_probe::calls.clear();
  scene->DrawPhase(0.4f);  // 4000 ms
  ASSERT_EQ(CSceneTdf_probe::calls.size(), 3u);
  EXPECT_EQ(CSceneTdf_probe::calls[1].scene, "probeA");
  EXPECT_EQ(CSceneTdf_probe::calls[1].phase, 1.0f);
}

TEST_F(DemoSceneTest, EveryCameraAddsToTheLengthButACutLastsItsLongestCamera) {
  OpenScenes({Scene("probeA", {"1 3", "2"}), Scene("probeB", {"-4"}), Scene("probeC", {"0.5"})});
  auto scene = Make();
  EXPECT_EQ(scene->GetRangeEnd(), 5500);  // 3 + 2 + 0 + 0.5 seconds
  ASSERT_EQ(scene->Cuts().size(), 3u);
  EXPECT_EQ(scene->Cuts()[0]->GetEnd(), 3000);
  EXPECT_EQ(scene->Cuts()[1]->GetStart(), 3000);  // a negative time counts as 0
  EXPECT_EQ(scene->Cuts()[1]->GetEnd(), 3000);
  EXPECT_EQ(scene->Cuts()[2]->GetEnd(), 3500);
}

TEST_F(DemoSceneTest, ASceneWithoutCameraIsACutOfNoLengthWithPhaseZero) {
  OpenScenes({Scene("probeA", {}), Scene("probeB", {"2"})});
  auto scene = Make();
  ASSERT_EQ(scene->Cuts().size(), 2u);
  EXPECT_EQ(scene->Cuts()[0]->GetEnd(), 0);
  CSceneTdf_probe::calls.clear();
  EXPECT_TRUE(scene->DrawPhase(0.0f));
  ASSERT_EQ(CSceneTdf_probe::calls.size(), 3u);
  EXPECT_EQ(CSceneTdf_probe::calls[0].scene, "probeA");
  EXPECT_EQ(CSceneTdf_probe::calls[0].phase, 0.0f);
}

TEST(CutChoice, PositionsTruncateAndOnlyNumbersWithinThirtyTwoBitsFindACut) {
  std::vector<CutSpan> cuts = {{0, 4000}, {4000, 10500}};
  CutChoice middle = ChooseCut(cuts, 0.5f, 10500);
  EXPECT_EQ(middle.index, 1);
  EXPECT_NEAR(middle.phase, 1250.0f / 6500.0f, 1e-6);
  EXPECT_EQ(ChooseCut(cuts, 3999.9f / 10500.0f, 10500).index, 0);  // 3999.9 ms is 3999
  EXPECT_EQ(ChooseCut(cuts, 1.0f, 10500).phase, 1.0f);
  for (float phase : {-0.01f, 1.01f, std::numeric_limits<float>::quiet_NaN(), 1e30f, -1e30f}) {
    EXPECT_EQ(ChooseCut(cuts, phase, 10500).index, -1) << phase;
  }
  EXPECT_EQ(ChooseCut(cuts, 0.5f, int64_t{1} << 40).index, -1);
  EXPECT_EQ(ChooseCut({}, 0.0f, 0).index, -1);
}

TEST_F(DemoSceneTest, CameraTimesBeyondThirtyTwoBitsOfMillisecondsSaturate) {
  OpenScenes({Scene("probeA", {"1e30"}), Scene("probeB", {"1"})});
  auto scene = Make();
  EXPECT_EQ(scene->GetRangeEnd(), INT32_MAX);
  ASSERT_EQ(scene->Cuts().size(), 2u);
  EXPECT_EQ(scene->Cuts()[0]->GetEnd(), INT32_MAX);
  EXPECT_EQ(scene->Cuts()[1]->GetStart(), INT32_MAX);
  CSceneTdf_probe::calls.clear();
  EXPECT_TRUE(scene->DrawPhase(0.5f));
  ASSERT_EQ(CSceneTdf_probe::calls.size(), 3u);
  EXPECT_EQ(CSceneTdf_probe::calls[0].scene, "probeA");
}

TEST_F(DemoSceneTest, PhasesOutsideEveryCutDrawNothingAndKeepTheTarget) {
  OpenScenes({Scene("probeA", {"2"})});
  auto scene = Make();
  CSceneTdf_probe::calls.clear();
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  for (float phase : {1.5f, -0.25f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      1e30f}) {
    EXPECT_TRUE(scene->DrawPhase(phase)) << phase;
  }
  EXPECT_TRUE(CSceneTdf_probe::calls.empty());
  EXPECT_EQ(ReadPixel(32, 32)[0], 255);
}

TEST(CutsCover, EveryPositionMustLieInSomeCut) {
  const std::vector<CutSpan> cuts = {{0, 4000}, {4000, 4000}, {4000, 10500}};
  EXPECT_TRUE(CutsCover(cuts, 0, 10500));
  EXPECT_TRUE(CutsCover(cuts, 4000, 4000));
  EXPECT_FALSE(CutsCover(cuts, 0, 10501));
  EXPECT_FALSE(CutsCover(cuts, -1, 100));
  EXPECT_TRUE(CutsCover({{0, 10}, {11, 20}}, 0, 20)) << "whole milliseconds: 10 and 11 leave no gap";
  EXPECT_FALSE(CutsCover({{0, 10}, {12, 20}}, 0, 20));
  EXPECT_TRUE(CutsCover({{5, 20}, {0, 6}}, 0, 20)) << "in any order";
  EXPECT_FALSE(CutsCover({}, 0, 0));
}

// The promise frame composition relies on: a scene that says it draws at every phase clears its
// target at every phase, and one that may not says so.
TEST_F(DemoSceneTest, DrawsAtEveryPhaseKeepsItsWord) {
  OpenScenes({Scene("probeA", {"0 2 4.0"}), Scene("probeB", {"6.5 1"})});
  struct Case {
    int32_t rangeStart;
    int32_t rangeEnd;
    bool drawsAtEveryPhase;
  };
  for (const Case c : {Case{-1, -1, true}, Case{-1, 10500, true}, Case{-1, 3000, true}, Case{-1, 10501, false},
                       Case{5000, 1000, false}, Case{-1, 20000, false}}) {
    auto scene = Make(c.rangeStart, c.rangeEnd);
    EXPECT_EQ(scene->DrawsAtEveryPhase(), c.drawsAtEveryPhase) << c.rangeStart << " to " << c.rangeEnd;
    bool drewEverywhere = true;
    for (int step = 0; step <= 1000; ++step) {
      CSceneTdf_probe::calls.clear();
      scene->DrawPhase(static_cast<float>(step) / 1000.0f);
      drewEverywhere = drewEverywhere && !CSceneTdf_probe::calls.empty();
    }
    EXPECT_EQ(drewEverywhere, c.drawsAtEveryPhase) << c.rangeStart << " to " << c.rangeEnd;
  }
  OpenScenes({});
  EXPECT_FALSE(Make()->DrawsAtEveryPhase()) << "an animation without scenes draws nothing";
}

TEST_F(DemoSceneTest, CutClassesAreChosenByTheStartOfTheirName) {
  OpenScenes({Scene("loader", {"1"}), Scene("loaderBar", {"1"}), Scene("load", {"1"}), Scene("notACut", {"1"}),
              Scene("plain", {"1"})});
  auto scene = Make();
  ASSERT_EQ(scene->Cuts().size(), 5u);
  const char* expected[] = {"CSceneTdf_loader", "CSceneTdf_loader", "CSceneTdfDefault", "CSceneTdfDefault",
                            "CSceneTdfDefault"};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_STREQ(scene->Cuts()[i]->GetRuntimeClass()->mName, expected[i]) << i;
  }
  EXPECT_STREQ(CreateSceneCut("probe1")->GetRuntimeClass()->mName, "CSceneTdf_probe");
}

TEST_F(DemoSceneTest, AnimationsThatDoNotLoadGiveASceneWithoutCuts) {
  OpenPack({{SCENE_PATH, ""}, {"data\\tdf\\effect.cgfx", ProbeEffectText()}});
  auto empty = Make();
  EXPECT_EQ(empty->GetSceneAnimation(), nullptr);
  EXPECT_TRUE(empty->Cuts().empty());
  EXPECT_EQ(empty->GetRangeEnd(), 0);
  EXPECT_TRUE(empty->DrawPhase(0.0f));
  EXPECT_TRUE(empty->DrawPhase(0.5f));
  // Not a scene animation at all: given back at once.
  cDemoScene wrongKind("data\\tdf\\effect.cgfx", "", 0, 0, 1, -1, -1);
  EXPECT_EQ(wrongKind.GetSceneAnimation(), nullptr);
  EXPECT_TRUE(wrongKind.DrawPhase(0.0f));
  EXPECT_TRUE(gResourceManager.Cache().empty());
  cDemoScene byName;
  EXPECT_TRUE(byName.DrawPhase(0.5f));
}

TEST_F(DemoSceneTest, DefaultCutsDrawTheirSceneBetweenRestoredMatrices) {
  std::string scenes =
      "MQO {\n  0 \"" + std::string(QUAD_MODEL_PATH) + "\"\n}\n" + Scene("plain", {"0 2"}) +
      "Scene \"other\" {\n  Object -1 {\n    DataNum 1\n    Time { 1 }\n"
      "    Part \"camera_lookat\" {\n      Position { 0 0 1 }\n    }\n  }\n"
      "  Object 0 {\n    CameraTrans 1\n    Visible 1\n    DataNum 1\n    Time { 0 }\n"
      "    Part \"hull\" {\n      Position { 0 0 0 }\n    }\n  }\n}\n";
  OpenPack({{QUAD_CACHE_PATH, ModelCacheText(QuadModel({"hull"}, {0}))}, {SCENE_PATH, SceneFile({scenes})}});
  auto scene = Make();
  ASSERT_EQ(scene->Cuts().size(), 2u);
  GLint before[2] = {};
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &before[0]);
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &before[1]);
  glClearColor(1, 0, 0, 1);
  EXPECT_TRUE(scene->DrawPhase(0.25f));  // the first cut: nothing to draw, but the target is cleared
  EXPECT_EQ(ReadPixel(32, 32), (std::vector<uint8_t>{255, 0, 0, 255}));
  EXPECT_TRUE(scene->DrawPhase(0.9f));  // the second cut draws its model over the whole target
  glClearColor(0, 0, 0, 0);
  EXPECT_EQ(ReadPixel(32, 32)[1], 255);
  GLint after[2] = {};
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after[0]);
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &after[1]);
  EXPECT_EQ(after[0], before[0]);
  EXPECT_EQ(after[1], before[1]);
}

// The loading bar drawn into a 640 × 480 target (the bar's own 4:3), read back around the centre.
class LoaderBarTest : public ScenePackTest {
 protected:
  void SetUp() override {
    ScenePackTest::SetUp();
    mTarget = std::make_unique<cScreenBuffer>(640, 480, GL_RGBA8, GL_UNSIGNED_BYTE, SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
    mTarget->bind();
    glViewport(0, 0, 640, 480);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);  // the renderer's fixed state: the three rectangles share one plane
  }
  void TearDown() override {
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    mTarget.reset();
    ScenePackTest::TearDown();
  }
  // Red of the pixel dx, dy from the centre.
  static int Red(int dx, int dy) {
    uint8_t pixel[4] = {};
    glReadPixels(320 + dx, 240 + dy, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return pixel[0];
  }
  std::unique_ptr<cScreenBuffer> mTarget;
};

TEST_F(LoaderBarTest, TheLoadingScreenDrawsItsBarWithoutRenderer) {
  CSceneTdf_loader loader;
  glClearColor(0.5f, 0.5f, 0.5f, 0.5f);
  loader.Start(nullptr);
  loader.BeginFrame(nullptr, 0.5f);
  loader.DrawFrame(nullptr, 0.5f);
  loader.EndFrame(nullptr, 0.5f);
  GLfloat clear[4] = {};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[3], 1.0f);  // opaque black
  EXPECT_EQ(Red(0, 0), 255);
  EXPECT_EQ(Red(-130, 0), 255);  // the bar: half of 9.5 wide
  EXPECT_EQ(Red(130, 10), 255);
  EXPECT_EQ(Red(145, 0), 0);     // the track beyond it
  EXPECT_EQ(Red(0, 16), 0);      // the track above it
  EXPECT_EQ(Red(286, 0), 255);   // the frame
  EXPECT_EQ(Red(-287, 0), 255);
  EXPECT_EQ(Red(0, 21), 255);
  EXPECT_EQ(Red(0, -22), 255);
  EXPECT_EQ(Red(295, 0), 0);     // outside, cleared black
  EXPECT_EQ(Red(0, 30), 0);

  loader.BeginFrame(nullptr, 1.0f);
  loader.DrawFrame(nullptr, 1.0f);
  EXPECT_EQ(Red(272, 0), 255);  // full: 9.5 of the track's 9.75
  EXPECT_EQ(Red(279, 0), 0);
  EXPECT_EQ(Red(200, 16), 0);   // the track shows above the bar
  loader.BeginFrame(nullptr, 0.0f);
  loader.DrawFrame(nullptr, 0.0f);
  EXPECT_EQ(Red(0, 0), 0);      // empty: no bar
  EXPECT_EQ(Red(286, 0), 255);
}

TEST_F(LoaderBarTest, SceneNamedLoaderGrowsItsBarWithTheCutPhase) {
  OpenPack({{SCENE_PATH, SceneFile({Scene("loader", {"0 2"})})}});
  auto scene = std::make_unique<cDemoScene>(SCENE_PATH, "", 0, 0, 1000, -1, -1);
  ASSERT_EQ(scene->Cuts().size(), 1u);
  EXPECT_TRUE(scene->DrawPhase(0.25f));
  EXPECT_EQ(Red(60, 0), 255);  // a quarter of 9.5 wide: 69 pixels each side
  EXPECT_EQ(Red(75, 0), 0);
  EXPECT_TRUE(scene->DrawPhase(0.5f));
  EXPECT_EQ(Red(130, 0), 255);
  EXPECT_EQ(Red(145, 0), 0);
}

}  // namespace
