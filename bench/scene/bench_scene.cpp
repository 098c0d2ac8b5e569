// One animated scene of OBJECT_COUNT keyed models drawn through cTdfRender (keys, camera, material
// parameters by name, standard parameters, pass states) beside plain GL drawing the same display
// lists with the same compiled program of the default effect, the same keys and the same matrices,
// setting uniforms through locations resolved once. The difference is the renderer's overhead per
// frame. Both finish the frame (glFinish) inside the timing.
//
// Run under a display from the build tree:
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/scene/bench_scene
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include "files/model_cache_writer.h"
#include "files/pack_file.h"
#include "files/pack_writer.h"
#include "platform/hidden_gl_context.h"
#include "render/texture_manager.h"
#include "resources/res_mqo.h"
#include "resources/res_shader.h"
#include "resources/res_tdf.h"
#include "resources/resource_manager.h"
#include "scene/mqo_render.h"
#include "scene/scene_camera.h"
#include "scene/tdf_render.h"

namespace {

constexpr int OBJECT_COUNT = 64;
constexpr int SIZE = 256;
constexpr char SCENE_PATH[] = "data\\tdf\\bench.tdf";
constexpr char MODEL_PATH[] = "data\\model\\bench.mqo";

std::string SourceText(const std::string& relative) {
  std::ifstream in(std::string(TORVANE_SOURCE_DIR) + "/" + relative, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A small quad in z 0 as the one object "part".
std::string ModelCache() {
  ModelData model;
  model.materials.emplace_back().color = {0.8f, 0.6f, 0.4f, 1.0f};
  ModelObject& object = model.objects.emplace_back();
  object.name = "part";
  object.positions = {-0.2f, -0.2f, 0, 0.2f, -0.2f, 0, 0.2f, 0.2f, 0, -0.2f, 0.2f, 0};
  ModelFace& a = object.faces.emplace_back();
  a.indices = {0, 1, 2, 0};
  ModelFace& b = object.faces.emplace_back();
  b.indices = {0, 2, 3, 0};
  std::vector<uint8_t> bytes = WriteModelCache(model);
  return std::string(bytes.begin(), bytes.end());
}

// A camera moving over four seconds and OBJECT_COUNT copies of the model on a grid, turning.
std::string SceneText() {
  std::string text = "TScene Demo File\nFormat Text Ver 1.0\nbench\nMQO {\n  0 \"" + std::string(MODEL_PATH) + "\"\n}\n";
  text += "Scene \"bench\" {\n  Object -1 {\n    CameraTrans 1\n    Visible 1\n    DataNum 2\n    Time { 0 4 }\n"
          "    Part \"camera_pos\" {\n      Position { 0 0 -6  1 0.5 -5 }\n    }\n"
          "    Part \"camera_lookat\" {\n      Position { 0 0 0  0 0 0 }\n    }\n  }\n";
  for (int i = 0; i < OBJECT_COUNT; ++i) {
    float x = static_cast<float>(i % 8) - 3.5f, y = static_cast<float>(i / 8) - 3.5f;
    text += "  Object 0 {\n    CameraTrans 1\n    Visible 1\n    DataNum 2\n    Time { 0 4 }\n    Part \"part\" {\n"
            "      Position { " + std::to_string(x) + " " + std::to_string(y) + " 0  " + std::to_string(x) + " " +
            std::to_string(y) + " 1 }\n      Rotation { 0 0 0  0.5 1 1.5 }\n    }\n  }\n";
  }
  return text + "}\nEof\n";
}

struct Fixture {
  Fixture() {
    if (!context.Create(SIZE, SIZE)) return;
    gTextureManager.SetNonPowerOfTwo(true);
    std::vector<std::pair<std::string, std::string>> entries = {
        {"data\\core\\shader\\defaultShader.cgfx", SourceText("content/core/shader/defaultShader.cgfx")},
        {"data\\core\\shader\\dummyShader.cgfx", SourceText("content/core/shader/dummyShader.cgfx")},
        {DEFAULT_TEXTURE_PATH, SourceText("content/core/texture/defaultTexture.bmp")},
        {"data\\model\\bench.bmdl", ModelCache()},
        {SCENE_PATH, SceneText()}};
    std::string image, error;
    if (!BuildPackImage(entries, image, error)) return;
    memoryFile = memfd_create("torvane-bench-scene", 0);
    if (memoryFile < 0 || write(memoryFile, image.data(), image.size()) != static_cast<ssize_t>(image.size())) return;
    OpenPackage(("/proc/self/fd/" + std::to_string(memoryFile)).c_str());
    animation = dynamic_cast<resTDF*>(gResourceManager.GetResource(SCENE_PATH));
    if (animation) renderer.SetSceneAnimation(animation);
    glViewport(0, 0, SIZE, SIZE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
  }
  ~Fixture() {
    renderer.Release();
    if (animation) animation->Release();
    ClosePackage();
    if (memoryFile >= 0) close(memoryFile);
  }
  bool Ready() const { return animation && renderer.SceneCount() == 1; }

  platform::HiddenGLContext context;
  int memoryFile = -1;
  resTDF* animation = nullptr;
  cTdfRender renderer;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

float NextPhase(float phase) { return phase >= 1.0f ? 0.0f : phase + 1.0f / 64.0f; }

// Pixels of the last frame that are not background: both ways must draw the same grid.
int DrawnPixels() {
  std::vector<uint8_t> pixels(SIZE * SIZE * 4);
  glReadPixels(0, 0, SIZE, SIZE, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  int drawn = 0;
  for (size_t i = 0; i < pixels.size(); i += 4) drawn += pixels[i] != 0 ? 1 : 0;
  return drawn;
}

void EngineFrame(Fixture& fixture, float phase) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  fixture.renderer.DrawScene(0, phase);
  glMatrixMode(GL_MODELVIEW);
  glFinish();
}

void BM_TdfRender(benchmark::State& state) {
  Fixture& fixture = Shared();
  if (!fixture.Ready()) {
    state.SkipWithError(("no scene: " + fixture.context.Error()).c_str());
    return;
  }
  float phase = 0.0f;
  for (auto _ : state) {
    EngineFrame(fixture, phase);
    phase = NextPhase(phase);
  }
  EngineFrame(fixture, 0.5f);
  state.counters["drawnPixels"] = DrawnPixels();
  state.SetItemsProcessed(state.iterations() * OBJECT_COUNT);
}
BENCHMARK(BM_TdfRender)->Unit(benchmark::kMicrosecond);

// The uniforms the default effect reads, resolved once.
struct PlainProgram {
  explicit PlainProgram(GLuint name) : program(name) {
    for (const char* uniform : {"shWorldMat", "shViewMat", "shVProjMat", "shAmbient", "shLightColor", "shKe", "shKa",
                                "shKd", "shKs", "shShininess", "shEyePos", "shLightPos", "shMqoColor", "TIME_RATE",
                                "shBaseTexture", "shOverlapTexture"}) {
      locations.push_back(glGetUniformLocation(program, uniform));
    }
  }
  GLint At(int i) const { return locations[static_cast<size_t>(i)]; }
  GLuint program;
  std::vector<GLint> locations;
};

std::array<float, 16> Multiply(const std::array<float, 16>& a, const std::array<float, 16>& b) {
  std::array<float, 16> product{};
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      for (int k = 0; k < 4; ++k) product[column * 4 + row] += a[k * 4 + row] * b[column * 4 + k];
    }
  }
  return product;
}

void DrawPlainObject(const PlainProgram& plain, const TdfObject& object, float time, GLuint list, GLuint texture,
                     const ModelMaterial& material) {
  TdfKey key = object.GetKey("part", time);
  glPushMatrix();
  glTranslatef(key.position[0], key.position[1], -key.position[2]);
  glRotatef(RendererDegrees(key.rotation[2]), 0, 0, 1);
  glRotatef(-RendererDegrees(key.rotation[1]), 0, 1, 0);
  glRotatef(-RendererDegrees(key.rotation[0]), 1, 0, 0);
  glScalef(key.scale[0], key.scale[1], key.scale[2]);
  std::array<float, 16> modelView, projection;
  glGetFloatv(GL_MODELVIEW_MATRIX, modelView.data());
  glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
  std::array<float, 16> mvp = Multiply(projection, modelView);
  glUseProgram(plain.program);
  glUniformMatrix4fv(plain.At(0), 1, GL_FALSE, modelView.data());
  glUniformMatrix4fv(plain.At(1), 1, GL_FALSE, modelView.data());
  glUniformMatrix4fv(plain.At(2), 1, GL_FALSE, mvp.data());
  glUniform4f(plain.At(3), 0.1f, 0.1f, 0.1f, 0.1f);
  glUniform4f(plain.At(4), 1, 1, 1, 1);
  glUniform4f(plain.At(5), 0, 0, 0, 0);
  glUniform4f(plain.At(6), 0.8f, 0.8f, 0.8f, 0.8f);
  glUniform4f(plain.At(7), 0.6f, 0.6f, 0.6f, 0.6f);
  glUniform4f(plain.At(8), 0.85f, 0.85f, 0.85f, 0.85f);
  glUniform1f(plain.At(9), 8.0f);
  glUniform3f(plain.At(10), eyePosition.x, eyePosition.y, eyePosition.z);
  glUniform3f(plain.At(11), lightPosition.x, lightPosition.y, lightPosition.z);
  glUniform4f(plain.At(12), material.color[0], material.color[1], material.color[2], material.color[3] * key.alpha);
  glUniform1f(plain.At(13), time);
  glUniform1i(plain.At(14), 0);
  glUniform1i(plain.At(15), 1);
  glActiveTexture(GL_TEXTURE1);
  glBindTexture(GL_TEXTURE_2D, texture);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture);
  glCallList(list);
  glUseProgram(0);
  glPopMatrix();
}

// Everything the plain frame needs from the loaded scene, looked up once.
struct PlainScene {
  explicit PlainScene(const Fixture& fixture)
      : scene(fixture.animation->GetDocument()->GetScene(0)),
        model(fixture.animation->GetModel(0)),
        plain(model->GetEffect(0)->getEffect()->PassProgram(0)),
        list(model->GetObjectLists().at(0)[0]),
        texture(gTextureManager.lookupName(model->GetTexture(0, 0))),
        material(model->GetMaterial(0)) {}

  void Frame(float phase) const {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    float time = phase * SceneLength(scene);
    SceneCamera camera = EvaluateSceneCamera(scene.objects[0], time);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-camera.halfWidth, camera.halfWidth, -camera.halfHeight, camera.halfHeight, SCENE_NEAR_PLANE,
              SCENE_FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const auto& eye = camera.eye.position;
    const auto& target = camera.lookAt.position;
    gluLookAt(eye[0], eye[1], -eye[2], target[0], target[1], -target[2], 0, 1, 0);
    eyePosition = {eye[0], eye[1], eye[2]};
    lightPosition = {-eye[0], -eye[1], -eye[2]};
    for (size_t j = 1; j < scene.objects.size(); ++j) DrawPlainObject(plain, scene.objects[j], time, list, texture, material);
    glFinish();
  }

  const TdfScene& scene;
  resMQO* model;
  PlainProgram plain;
  GLuint list;
  GLuint texture;
  const ModelMaterial& material;
};

void BM_PlainGL(benchmark::State& state) {
  Fixture& fixture = Shared();
  if (!fixture.Ready()) {
    state.SkipWithError(("no scene: " + fixture.context.Error()).c_str());
    return;
  }
  PlainScene plain(fixture);
  float phase = 0.0f;
  for (auto _ : state) {
    plain.Frame(phase);
    phase = NextPhase(phase);
  }
  plain.Frame(0.5f);
  state.counters["drawnPixels"] = DrawnPixels();
  state.SetItemsProcessed(state.iterations() * OBJECT_COUNT);
}
BENCHMARK(BM_PlainGL)->Unit(benchmark::kMicrosecond);

}  // namespace
