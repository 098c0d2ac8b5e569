// The multi-pass loop of render objects, their immediate geometry and the jittered frustum.
#include "scene/render_object.h"

#include <string>
#include <vector>

#include "render/shader_manager.h"
#include "resources/res_shader.h"
#include "resources/resource_manager.h"
#include "tests/scene/scene_test_support.h"

namespace {

constexpr char THREE_PASSES[] = "data\\shader\\three.cgfx";

// Records the calls the loop makes through the virtual table.
class RecordingObject : public cRenderObject {
 public:
  void BeginPass(int pass) override {
    calls.push_back("begin " + std::to_string(pass));
    cRenderObject::BeginPass(pass);
  }
  void DrawGeometry(int pass) override { calls.push_back("draw " + std::to_string(pass)); }
  void EndPass(int pass) override {
    calls.push_back("end " + std::to_string(pass));
    cRenderObject::EndPass(pass);
  }
  std::vector<std::string> calls;
};

resShader* GetShader(const char* path) { return dynamic_cast<resShader*>(gResourceManager.GetResource(path)); }

class RenderObjectTest : public ScenePackTest {};

TEST_F(RenderObjectTest, WithoutEffectTheGeometryIsDrawnOnceWithPassZeroAndNoParameters) {
  OpenPack({});
  resShader* probe = GetShader(PROBE_EFFECT_PATH);
  ASSERT_NE(probe, nullptr);
  gShaderManager.SetCurrentEffect(probe);
  const float marker[4] = {0.25f, 0.5f, 0.75f, 1.0f};
  probe->setParameter("shMqoColor", marker);
  eyePosition = {1, 2, 3};

  RecordingObject object;
  EXPECT_EQ(object.Draw(0.0f), 0);
  EXPECT_EQ(object.calls, (std::vector<std::string>{"draw 0"}));
  EXPECT_EQ(gShaderManager.GetCurrentEffect(), probe);
  probe->setPassState(0);
  EXPECT_EQ(UploadedUniform(probe, "shEyePos", 3), (std::vector<float>{0, 0, 0}));  // never set
  probe->resetPassState(0);
  eyePosition = {0, 0, 0};
  probe->Release();
}

TEST_F(RenderObjectTest, EveryPassRunsBeginDrawEndInOrderWithTheStandardParameters) {
  OpenPack({{THREE_PASSES, ProbeEffectText(3)}});
  resShader* effect = GetShader(THREE_PASSES);
  ASSERT_NE(effect, nullptr);
  ASSERT_EQ(effect->passCount(), 3);
  eyePosition = {1, 2, 3};
  lightPosition = {-4, 5, -6};

  RecordingObject object;
  object.SetEffect(effect);
  EXPECT_EQ(object.GetEffect(), effect);
  EXPECT_EQ(object.Draw(0.0f), 3);
  EXPECT_EQ(object.calls, (std::vector<std::string>{"begin 0", "draw 0", "end 0", "begin 1", "draw 1", "end 1",
                                                    "begin 2", "draw 2", "end 2"}));
  EXPECT_EQ(gShaderManager.GetCurrentEffect(), effect);
  EXPECT_EQ(effect->getEffect()->ActivePass(), -1);  // every pass was reset
  for (int pass = 0; pass < 3; ++pass) {
    effect->setPassState(pass);
    EXPECT_EQ(UploadedUniform(effect, "shEyePos", 3, pass), (std::vector<float>{1, 2, 3})) << pass;
    EXPECT_EQ(UploadedUniform(effect, "shLightPos", 3, pass), (std::vector<float>{-4, 5, -6})) << pass;
    effect->resetPassState(pass);
  }
  eyePosition = {0, 0, 0};
  lightPosition = {0, 0, 0};
  effect->Release();
}

TEST_F(RenderObjectTest, ImmediateGeometryIsDrawnOnceAtTheEndOfTheFirstPass) {
  // Each pass adds a quarter of white where it draws; the triangle covers the centre.
  const std::string fragment = "FragmentProgram = fsProbe;";
  const std::string blend = "BlendEnable = true; BlendFunc = int2(One, One); ";
  std::string additive = ProbeEffectText(3);
  for (size_t at = additive.find(fragment); at != std::string::npos;
       at = additive.find(fragment, at + blend.size() + fragment.size())) {
    additive.insert(at, blend);
  }
  OpenPack({{THREE_PASSES, additive}});
  resShader* effect = GetShader(THREE_PASSES);
  ASSERT_NE(effect, nullptr);
  const float quarter[4] = {0.25f, 0.25f, 0.25f, 0.25f};
  effect->setParameter("shMqoColor", quarter);

  RecordingObject object;
  object.SetEffect(effect);
  object.Triangles() = {{0, 0, 0, 0, 1, -1, -1, 0}, {0, 0, 0, 0, 1, 3, -1, 0}, {0, 0, 0, 0, 1, -1, 3, 0}};
  object.Draw(0.0f);
  EXPECT_TRUE(object.Triangles().empty());
  EXPECT_EQ(ReadPixel(32, 32)[0], 64);  // one quarter: drawn once, not three times

  glClear(GL_COLOR_BUFFER_BIT);
  object.Fan() = {{0, 0, 0, 0, 1, -1, -1, 0}, {0, 0, 0, 0, 1, 1, -1, 0}, {0, 0, 0, 0, 1, 1, 1, 0},
                  {0, 0, 0, 0, 1, -1, 1, 0}};
  object.Draw(0.0f);
  EXPECT_TRUE(object.Fan().empty());
  EXPECT_EQ(ReadPixel(5, 58)[0], 64);
  EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
  effect->Release();
}

// The projection matrix after SetJitteredFrustum, column by column.
std::vector<double> FrustumAfter(const double jitter[2]) {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  SetJitteredFrustum(jitter, -0.1775, 0.1775, -0.1, 0.1, 0.1, 150.0);
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  std::vector<double> matrix(16);
  glGetDoublev(GL_PROJECTION_MATRIX, matrix.data());
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  return matrix;
}

TEST_F(RenderObjectTest, JitteredFrustumMovesBySubPixelsOfTheViewport) {
  SetJitterViewport(1280.0, 720.0);
  const double none[2] = {0.0, 0.0};
  std::vector<double> plain = FrustumAfter(none);
  EXPECT_NEAR(plain[8], 0.0, 1e-12);  // (right + left) / (right - left)
  EXPECT_NEAR(plain[9], 0.0, 1e-12);
  EXPECT_NEAR(plain[0], 2 * 0.1 / 0.355, 1e-5);

  // Half a pixel right and a quarter up: the frustum moves left by 0.355 · 0.5 / 1280 and down by
  // 0.2 · 0.25 / 720, so the picture moves the other way.
  const double shifted[2] = {0.5, 0.25};
  std::vector<double> moved = FrustumAfter(shifted);
  double dx = -(0.355 * 0.5 / 1280.0);
  double dy = -(0.2 * 0.25 / 720.0);
  EXPECT_NEAR(moved[8], 2 * dx / 0.355, 1e-7);
  EXPECT_NEAR(moved[9], 2 * dy / 0.2, 1e-7);
  EXPECT_NEAR(moved[0], plain[0], 1e-12);
  SetJitterViewport(1.0, 1.0);
}

TEST_F(RenderObjectTest, CentredRectangleCoversItsSizeAroundTheOrigin) {
  glColor3f(1, 1, 1);
  DrawCenteredRect(1.0f, 0.5f);  // identity matrices: half the width, a quarter of the height
  EXPECT_EQ(ReadPixel(32, 32)[0], 255);
  EXPECT_EQ(ReadPixel(17, 25)[0], 255);
  EXPECT_EQ(ReadPixel(14, 32)[0], 0);
  EXPECT_EQ(ReadPixel(32, 41)[0], 0);
}

}  // namespace
