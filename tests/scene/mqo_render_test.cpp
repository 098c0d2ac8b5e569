// Model renderers: the whole model and object by object, with keys, pivots, nesting and the
// material parameters that reach the effect.
#include "scene/mqo_render.h"

#include <array>
#include <cmath>
#include <map>

#include "files/tdf_object.h"
#include "resources/res_mqo.h"
#include "resources/res_shader.h"
#include "resources/resource_manager.h"
#include "scene/mass_mqo_render.h"
#include "tests/scene/scene_test_support.h"

namespace {

constexpr float HALF_PI = 1.5707963f;

TdfObject AnimationWith(const std::map<std::string, TdfKey>& keys) {
  TdfObject animation;
  animation.modelIndex = 0;
  animation.times = {0.0f};
  for (const auto& [part, key] : keys) animation.parts[part] = {key};
  return animation;
}

TdfKey KeyAt(float x, float y, float z) {
  TdfKey key;
  key.position = {x, y, z};
  return key;
}

// Column `column` of the "shWorldMat" that reached the effect last.
std::array<float, 4> WorldColumn(resShader* effect, int column) {
  std::vector<float> matrix = UploadedUniform(effect, "shWorldMat", 16);
  return {matrix[column * 4], matrix[column * 4 + 1], matrix[column * 4 + 2], matrix[column * 4 + 3]};
}

void ExpectColumn(const std::array<float, 4>& actual, const std::array<float, 4>& expected) {
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5) << "row " << i;
}

std::vector<uint8_t> Rgb(std::vector<uint8_t> pixel) {
  pixel.resize(3);
  return pixel;
}

struct MatrixState {
  GLint depth = 0;
  std::array<float, 16> top{};
  bool operator==(const MatrixState&) const = default;
};

MatrixState ModelViewState() {
  MatrixState state;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &state.depth);
  glGetFloatv(GL_MODELVIEW_MATRIX, state.top.data());
  return state;
}

class MqoRenderTest : public ScenePackTest {
 protected:
  // Opens a pack holding model and returns it loaded (one reference for the test).
  resMQO* LoadModel(const ModelData& model) {
    OpenPack({{QUAD_CACHE_PATH, ModelCacheText(model)}});
    return dynamic_cast<resMQO*>(gResourceManager.GetResource(QUAD_MODEL_PATH));
  }
};

TEST_F(MqoRenderTest, WholeModelSendsDrawTimeAndFullAlphaAndItsTextures) {
  resMQO* model = LoadModel(QuadModel({"hull"}, {0}, {1, 0.5f, 0.25f, 0.8f}));
  ASSERT_NE(model, nullptr);
  {
    cMqoRender renderer;
    EXPECT_EQ(renderer.Draw(1.0f), 0);  // no model
    EXPECT_EQ(renderer.MaterialCount(), 0u);
    EXPECT_EQ(renderer.PassCount(), 0);
    renderer.SetModel(model, nullptr);
    EXPECT_EQ(model->GetRefCount(), 2);
    renderer.SetModel(model, nullptr);  // binding the same model again keeps one reference
    EXPECT_EQ(model->GetRefCount(), 2);
    EXPECT_EQ(renderer.MaterialCount(), 1u);
    EXPECT_NE(renderer.TextureName(0, 0), 0u);  // the default texture
    EXPECT_EQ(renderer.TextureName(0, 1), renderer.TextureName(0, 0));
    EXPECT_EQ(renderer.TextureName(1, 0), 0u);

    EXPECT_EQ(renderer.Draw(2.5f), 1);  // one material, one pass
    resShader* effect = renderer.GetEffect();
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->GetPath(), PROBE_EFFECT_PATH);
    EXPECT_EQ(renderer.PassCount(), 1);
    EXPECT_EQ(UploadedUniform(effect, "TIME_RATE", 1), (std::vector<float>{2.5f}));
    EXPECT_EQ(UploadedUniform(effect, "shMqoColor", 4), (std::vector<float>{1, 0.5f, 0.25f, 0.8f}));
    EXPECT_EQ(Rgb(ReadPixel(32, 32)), (std::vector<uint8_t>{255, 128, 64}));
  }
  EXPECT_EQ(model->GetRefCount(), 1);  // the renderer gave its reference back
  model->Release();
}

TEST_F(MqoRenderTest, KeyAlphaScalesTheMaterialAlpha) {
  resMQO* model = LoadModel(QuadModel({"hull"}, {0}, {1, 0.5f, 0.25f, 0.8f}));
  ASSERT_NE(model, nullptr);
  TdfKey key;
  key.alpha = 0.5f;
  TdfObject animation = AnimationWith({{"hull", key}});
  cMqoRender renderer;
  renderer.SetModel(model, &animation);
  EXPECT_EQ(renderer.GetAnimation(), &animation);
  renderer.SetModel(nullptr, nullptr);  // keeps both bindings
  EXPECT_EQ(renderer.GetModel(), model);
  EXPECT_EQ(renderer.GetAnimation(), &animation);
  EXPECT_EQ(renderer.Draw(0.0f), 1);
  EXPECT_EQ(UploadedUniform(renderer.GetEffect(), "shMqoColor", 4), (std::vector<float>{1, 0.5f, 0.25f, 0.4f}));
  renderer.Release();
  EXPECT_EQ(renderer.GetModel(), nullptr);
  model->Release();
}

TEST_F(MqoRenderTest, RotationKeysTurnXAndYBackwardsAndZForwards) {
  resMQO* model = LoadModel(QuadModel({"hull"}, {0}));
  ASSERT_NE(model, nullptr);
  const struct {
    int axis;
    int column;  // the model axis whose image is checked
    std::array<float, 4> image;
  } cases[] = {
      {0, 1, {0, 0, -1, 0}},  // pi/2 about x: -90 degrees, y turns to -z
      {1, 0, {0, 0, 1, 0}},   // pi/2 about y: -90 degrees, x turns to +z
      {2, 0, {0, 1, 0, 0}},   // pi/2 about z: +90 degrees, x turns to +y
  };
  for (const auto& c : cases) {
    TdfKey key;
    key.rotation[c.axis] = HALF_PI;
    TdfObject animation = AnimationWith({{"hull", key}});
    cMqoRender renderer;
    renderer.SetModel(model, &animation);
    renderer.Draw(0.0f);
    SCOPED_TRACE(c.axis);
    ExpectColumn(WorldColumn(renderer.GetEffect(), c.column), c.image);
  }
  model->Release();
}

TEST_F(MqoRenderTest, ObjectsTurnAboutTheirNamedPointWithZNegated) {
  ModelData data = QuadModel({"hull"}, {0});
  data.namedPoints["hull"] = {1, 0, 2};
  resMQO* model = LoadModel(data);
  ASSERT_NE(model, nullptr);
  TdfKey key = KeyAt(0, 0, 3);
  key.rotation[2] = HALF_PI;
  TdfObject animation = AnimationWith({{"hull", key}});
  cMqoRender renderer;
  renderer.SetModel(model, &animation);
  renderer.Draw(0.0f);
  // The origin turns a quarter about the pivot (1, 0) to (1, -1); the key moves it to z -3.
  ExpectColumn(WorldColumn(renderer.GetEffect(), 3), {1, -1, -3, 1});
  renderer.Release();
  model->Release();
}

TEST_F(MqoRenderTest, DeeperObjectsAreNestedAndTheStackIsLeftAsFound) {
  const struct {
    std::vector<uint32_t> depths;
    std::array<float, 4> lastTranslation;
  } cases[] = {
      {{0, 1}, {1, 2, -3, 1}},        // b inside a
      {{0, 0}, {0, 2, 0, 1}},         // b beside a
      {{0, 1, 1, 0}, {1, 2, -3, 1}},  // a return of one level pops one matrix: b goes on from a's
      {{0, 2, 0}, {0, 2, 0, 1}},      // a return of two levels pops both
      {{0, 3, 0}, {0, 2, 0, 1}},      // a jump of three levels back
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.depths));
    std::vector<std::string> names = {"a"};  // a, then unkeyed objects, then b
    while (names.size() + 1 < c.depths.size()) names.push_back("m" + std::to_string(names.size()));
    names.push_back("b");
    resMQO* model = LoadModel(QuadModel(names, c.depths));
    ASSERT_NE(model, nullptr);
    TdfObject animation = AnimationWith({{"a", KeyAt(1, 0, 3)}, {"b", KeyAt(0, 2, 0)}});
    cMqoRender renderer;
    renderer.SetModel(model, &animation);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(0, 0, 0);  // a matrix of the caller's own, which the draw must not pop
    MatrixState before = ModelViewState();
    EXPECT_EQ(renderer.Draw(0.0f), static_cast<int>(c.depths.size()));
    EXPECT_EQ(ModelViewState(), before);
    glPopMatrix();
    ExpectColumn(WorldColumn(renderer.GetEffect(), 3), c.lastTranslation);
    renderer.Release();
    model->Release();
    TearDown();
  }
}

TEST_F(MqoRenderTest, NestingDeeperThanTheMatrixStackLeavesTheStackAsFound) {
  GLint maxDepth = 0;
  glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &maxDepth);
  std::vector<std::string> names;
  std::vector<uint32_t> depths;
  for (int i = 0; i < maxDepth + 8; ++i) {
    names.push_back("o" + std::to_string(i));
    depths.push_back(static_cast<uint32_t>(i));
  }
  names.push_back("b");
  depths.push_back(0);
  resMQO* model = LoadModel(QuadModel(names, depths));
  ASSERT_NE(model, nullptr);
  TdfObject animation = AnimationWith({{"o0", KeyAt(1, 0, 0)}, {"b", KeyAt(0, 2, 0)}});
  cMqoRender renderer;
  renderer.SetModel(model, &animation);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslatef(0, 0, 5);
  MatrixState before = ModelViewState();
  EXPECT_EQ(renderer.Draw(0.0f), maxDepth + 9);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));  // no push on a full stack
  EXPECT_EQ(ModelViewState(), before);
  glPopMatrix();
  renderer.Release();
  model->Release();
}

TEST_F(MqoRenderTest, FacesOutsideTheModelDrawNothing) {
  resMQO* model = LoadModel(QuadModel({"hull"}, {0}));
  ASSERT_NE(model, nullptr);
  cMqoRender renderer;
  renderer.DrawFace(0, 0, 0);  // no model yet
  renderer.SetModel(model, nullptr);
  glColor4f(1, 1, 1, 1);
  for (auto [object, face, material] : {std::array<size_t, 3>{1, 0, 0}, {0, 2, 0}, {0, 0, 1}}) {
    renderer.DrawFace(object, face, material);
  }
  EXPECT_EQ(ReadPixel(40, 20)[0], 0);
  renderer.DrawFace(0, 0, 0);  // the lower right triangle
  EXPECT_EQ(ReadPixel(40, 20)[0], 255);
  EXPECT_EQ(ReadPixel(20, 40)[0], 0);
  renderer.SetMaterial(3, 1.0f, 0.0f);  // no such material: nothing is set
  EXPECT_EQ(renderer.GetEffect(), nullptr);
  renderer.Release();
  model->Release();
}

TEST_F(MqoRenderTest, MassRendererDrawsCopiesWithinOneMaterialPass) {
  resMQO* model = LoadModel(QuadModel({"hull"}, {0}, {0, 1, 0, 1}));
  ASSERT_NE(model, nullptr);
  cMassMqoRender renderer;
  EXPECT_TRUE(renderer.IsKindOf("cMqoRender"));
  renderer.SetModel(model, nullptr);
  renderer.BeginMaterial(4.0f, 0, 0, 0.5f);
  EXPECT_EQ(renderer.CurrentMaterial(), 0u);
  EXPECT_EQ(renderer.CurrentPass(), 0u);
  resShader* effect = renderer.GetEffect();
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->getEffect()->ActivePass(), 0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslatef(7, 0, 0);
  renderer.SetInstanceMatrices();
  renderer.DrawInstance();
  glPopMatrix();
  renderer.EndMaterial();
  EXPECT_EQ(effect->getEffect()->ActivePass(), -1);
  ExpectColumn(WorldColumn(effect, 3), {7, 0, 0, 1});
  EXPECT_EQ(UploadedUniform(effect, "TIME_RATE", 1), (std::vector<float>{4.0f}));
  EXPECT_EQ(Rgb(ReadPixel(32, 32)), (std::vector<uint8_t>{0, 255, 0}));
  renderer.Release();
  model->Release();
}

}  // namespace
