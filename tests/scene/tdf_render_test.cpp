// The animated scene renderer: phase to animation time, the camera with its field of view, roll
// and jitter, the flags that hide objects or draw them from the front view, and the matrix stacks.
#include "scene/tdf_render.h"

#include <array>
#include <cmath>

#include "resources/res_mqo.h"
#include "resources/res_shader.h"
#include "resources/res_tdf.h"
#include "resources/resource_manager.h"
#include "scene/scene_camera.h"
#include "tests/scene/scene_test_support.h"

namespace {

constexpr char SCENE_PATH[] = "data\\tdf\\scene.tdf";

// A camera object with eye and look-at positions at the given times (one key per time).
std::string Camera(const std::string& times, const std::string& eye, const std::string& lookAt,
                   const std::string& eyeRotation = "") {
  std::string text = "  Object -1 {\n    CameraTrans 1\n    Visible 1\n" + KeyTimes(times) +
                     "    Part \"camera_pos\" {\n      Position { " + eye + " }\n";
  if (!eyeRotation.empty()) text += "      Rotation { " + eyeRotation + " }\n";
  return text + "    }\n    Part \"camera_lookat\" {\n      Position { " + lookAt + " }\n    }\n  }\n";
}

// An object of the quad model with its flags and the "hull" part's positions at times.
std::string Model(int cameraTrans, int visible, const std::string& times = "0", const std::string& hull = "0 0 0") {
  return "  Object 0 {\n    CameraTrans " + std::to_string(cameraTrans) + "\n    Visible " + std::to_string(visible) +
         "\n" + KeyTimes(times) + "    Part \"hull\" {\n      Position { " + hull + " }\n    }\n  }\n";
}

std::string Scene(const std::string& name, const std::string& objects) {
  return "Scene \"" + name + "\" {\n" + objects + "}\n";
}

std::string SceneFile(const std::string& scenes) {
  return TdfHeader() + "MQO {\n  0 \"" + QUAD_MODEL_PATH + "\"\n}\n" + scenes + "Eof\n";
}

struct StackState {
  GLint modelViewDepth = 0, projectionDepth = 0;
  std::array<float, 16> modelView{}, projection{};
  bool operator==(const StackState&) const = default;
};

StackState Stacks() {
  StackState state;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &state.modelViewDepth);
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &state.projectionDepth);
  glGetFloatv(GL_MODELVIEW_MATRIX, state.modelView.data());
  glGetFloatv(GL_PROJECTION_MATRIX, state.projection.data());
  return state;
}

class TdfRenderTest : public ScenePackTest {
 protected:
  // Opens a pack with the quad model and a scene file of scenes; returns the animation loaded.
  resTDF* LoadScenes(const std::string& scenes, std::array<float, 4> color = {1, 1, 1, 1}) {
    OpenPack({{QUAD_CACHE_PATH, ModelCacheText(QuadModel({"hull"}, {0}, color))}, {SCENE_PATH, SceneFile(scenes)}});
    return dynamic_cast<resTDF*>(gResourceManager.GetResource(SCENE_PATH));
  }
  // The effect the quad model draws with.
  static resShader* ModelEffect(resTDF* animation) { return animation->GetModel(0)->GetEffect(0); }
};

TEST_F(TdfRenderTest, PhaseRunsOverTheCameraTrackForEveryTrack) {
  resTDF* animation =
      LoadScenes(Scene("run", Camera("0 12.5", "0 0 0  0 0 25", "0 0 100  0 0 100") + Model(1, 1, "0 12.5", "0 0 0  4 0 0")));
  ASSERT_NE(animation, nullptr);
  cTdfRender renderer;
  renderer.SetSceneAnimation(animation);
  renderer.DrawSceneByName("run", 0.5f);  // 6.25 s into the camera's 12.5 s
  resShader* effect = ModelEffect(animation);
  EXPECT_EQ(UploadedUniform(effect, "TIME_RATE", 1), (std::vector<float>{6.25f}));
  EXPECT_FLOAT_EQ(eyePosition.z, 12.5f);
  EXPECT_FLOAT_EQ(lightPosition.z, -12.5f);
  std::vector<float> world = UploadedUniform(effect, "shWorldMat", 16);
  // The hull halfway to x 4, seen from the eye at GL z -12.5 looking down -z.
  EXPECT_NEAR(world[12], 2.0f, 1e-5);
  EXPECT_NEAR(world[14], 12.5f, 1e-4);
  renderer.Release();
  animation->Release();
}

TEST_F(TdfRenderTest, EyeRotationWidensTheViewAndRollsItAndTheSampleJittersIt) {
  resTDF* animation = LoadScenes(Scene("wide", Camera("0", "0 0 0", "0 0 1", "0 0.2618 0") + Model(1, 1)) +
                                 Scene("roll", Camera("0", "0 0 0", "0 0 1", "0 0 1.5707963") + Model(1, 1)));
  ASSERT_NE(animation, nullptr);
  EXPECT_NEAR(EvaluateSceneCamera(animation->GetDocument()->GetScene(0).objects[0], 0).fieldOfViewDegrees, 45.0, 1e-3);
  cTdfRender renderer;
  renderer.SetSceneAnimation(animation);
  SetJitterViewport(64.0, 64.0);
  SetCurrentJitter(0.5, -0.25);
  renderer.DrawScene(0, 0.0f);
  SetCurrentJitter(0.0, 0.0);
  SetJitterViewport(1.0, 1.0);
  std::vector<float> projection = UploadedUniform(ModelEffect(animation), "shVProjMat", 16);
  const float focal = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);  // 45 degrees vertically
  EXPECT_NEAR(projection[5], focal, 1e-4);
  EXPECT_NEAR(projection[0], focal / 1.7777778f, 1e-4);
  EXPECT_NEAR(projection[8], -0.5f / 32.0f, 1e-6);  // half a pixel of 64 moves the frustum left
  EXPECT_NEAR(projection[9], 0.25f / 32.0f, 1e-6);

  renderer.DrawScene(1, 0.0f);
  std::vector<float> world = UploadedUniform(ModelEffect(animation), "shWorldMat", 16);
  EXPECT_NEAR(world[0], 0.0f, 1e-5);  // x turns to +y
  EXPECT_NEAR(world[1], 1.0f, 1e-5);
  renderer.Release();
  animation->Release();
}

TEST_F(TdfRenderTest, HiddenObjectsAndTheFirstObjectAreNeverDrawn) {
  resTDF* animation = LoadScenes(Scene("first", Model(1, 1) + Model(1, 0) + Model(1, 2)) +
                                 Scene("shown", Camera("0", "0 0 0", "0 0 1") + Model(1, 1)));
  ASSERT_NE(animation, nullptr);
  cTdfRender renderer;
  renderer.SetSceneAnimation(animation);
  ASSERT_EQ(renderer.SceneCount(), 2u);
  ASSERT_EQ(renderer.Renderers(0).size(), 3u);
  EXPECT_TRUE(renderer.Renderers(2).empty());
  renderer.DrawSceneByName("first", 0.0f);
  EXPECT_EQ(ReadPixel(32, 32)[0], 0);
  renderer.DrawSceneByName("shown", 0.0f);
  EXPECT_EQ(ReadPixel(32, 32)[0], 255);
  renderer.Release();
  animation->Release();
}

TEST_F(TdfRenderTest, FrontViewObjectsIgnoreDepthAndTheSceneCameraButNotItsProjection) {
  resTDF* animation = LoadScenes(Scene("front", Camera("0", "0 0 5", "0 0 0") + Model(0, 1)) +
                                 Scene("camera", Camera("0", "0 0 5", "0 0 0") + Model(1, 1)));
  ASSERT_NE(animation, nullptr);
  cTdfRender renderer;
  renderer.SetSceneAnimation(animation);
  // A depth buffer at its nearest: only a draw without depth test reaches the colour buffer.
  glEnable(GL_DEPTH_TEST);
  glClearDepth(0.0);
  glClear(GL_DEPTH_BUFFER_BIT);
  glClearDepth(1.0);
  renderer.DrawSceneByName("camera", 0.0f);
  EXPECT_EQ(ReadPixel(32, 32)[0], 0);
  EXPECT_FLOAT_EQ(eyePosition.z, 5.0f);
  renderer.DrawSceneByName("front", 0.0f);
  EXPECT_EQ(ReadPixel(32, 32)[0], 255);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  glDisable(GL_DEPTH_TEST);
  EXPECT_EQ(eyePosition.z, -1.0f);
  EXPECT_EQ(lightPosition.y, 1000.0f);
  EXPECT_EQ(lightPosition.z, 1000.0f);
  // Seen from the front (x mirrored), through the scene camera's 30 degree projection.
  std::vector<float> projection = UploadedUniform(ModelEffect(animation), "shVProjMat", 16);
  const float focal = 1.0f / std::tan(15.0f * 3.14159265f / 180.0f);
  EXPECT_NEAR(projection[5], focal, 1e-4);
  EXPECT_NEAR(projection[0], -focal / 1.7777778f, 1e-4);
  renderer.Release();
  animation->Release();
}

TEST_F(TdfRenderTest, ScenesItCannotFindLeaveTheMatrixStacksAlone) {
  resTDF* animation = LoadScenes(Scene("only", Camera("0", "0 0 5", "0 0 0") + Model(1, 1)) + Scene("empty", ""));
  ASSERT_NE(animation, nullptr);
  cTdfRender renderer;
  renderer.SetSceneAnimation(animation);
  glMatrixMode(GL_PROJECTION);
  glTranslatef(1, 2, 3);
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(4, 5, 6);
  StackState before = Stacks();
  renderer.DrawSceneByName("Only", 0.5f);
  renderer.DrawSceneByName("onl", 0.5f);
  renderer.DrawScene(2, 0.5f);
  EXPECT_EQ(Stacks(), before);
  EXPECT_EQ(ReadPixel(32, 32)[0], 0);
  renderer.DrawSceneByName("empty", 0.5f);
  renderer.DrawSceneByName("only", 0.5f);
  EXPECT_EQ(ReadPixel(32, 32)[0], 255);
  EXPECT_EQ(Stacks(), before);
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_PROJECTION);  // left selected after a drawn scene
  glMatrixMode(GL_MODELVIEW);
  renderer.Release();
  animation->Release();
}

TEST_F(TdfRenderTest, RenderersHoldTheAnimationAndItsModelsMaterials) {
  resTDF* animation = LoadScenes(Scene("a", Camera("0", "0 0 0", "0 0 1") + Model(1, 1)), {0.5f, 0.25f, 1, 1});
  ASSERT_NE(animation, nullptr);
  resMQO* model = animation->GetModel(0);
  {
    cTdfRender renderer;
    renderer.SetSceneAnimation(nullptr);
    EXPECT_EQ(renderer.SceneCount(), 0u);
    renderer.DrawSceneByName("a", 0.0f);
    renderer.SetSceneAnimation(animation);
    EXPECT_EQ(animation->GetRefCount(), 2);
    animation->Release();  // the renderer's reference is now the only one
    renderer.SetSceneAnimation(animation);
    ASSERT_EQ(animation->GetRefCount(), 1);
    animation->AddRef();
    EXPECT_EQ(model->GetRefCount(), 2);  // the table's and the object renderer's
    EXPECT_EQ(renderer.Renderers(0)[0]->GetModel(), nullptr);  // the camera has only its animation
    EXPECT_EQ(renderer.Renderers(0)[0]->GetAnimation(), &animation->GetDocument()->GetScene(0).objects[0]);

    ModelMaterial copy;
    const ModelMaterial* inPlace = renderer.GetModelMaterial(0, &copy, 0);
    ASSERT_NE(inPlace, nullptr);
    EXPECT_EQ(inPlace, &model->GetMaterial(0));
    EXPECT_EQ(copy.color, (std::array<float, 4>{0.5f, 0.25f, 1, 1}));
    EXPECT_EQ(renderer.GetModelMaterial(0, nullptr, 1), nullptr);
    EXPECT_EQ(renderer.GetModelMaterial(1, nullptr, 0), nullptr);
    EXPECT_EQ(renderer.GetModelMaterial(-1, nullptr, 0), nullptr);
  }
  EXPECT_EQ(animation->GetRefCount(), 1);
  EXPECT_EQ(model->GetRefCount(), 1);
  animation->Release();
}

}  // namespace
