#include "tests/scene/scene_test_support.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "files/model_cache_writer.h"
#include "render/shader_manager.h"
#include "resources/res_mqo.h"
#include "resources/res_shader.h"
#include "resources/resource_manager.h"
#include "tests/support/test_paths.h"

std::string ProbeEffectText(int passes) {
  std::string text =
      "uniform mat4 shWorldMat;\n"
      "uniform mat4 shVProjMat;\n"
      "uniform vec4 shMqoColor;\n"
      "uniform float TIME_RATE;\n"
      "uniform vec3 shEyePos;\n"
      "uniform vec3 shLightPos;\n"
      "uniform float probeSelect;\n"
      "void vsProbe() { gl_Position = gl_Vertex; }\n"
      "void fsProbe() {\n"
      "  vec4 c = shMqoColor;\n"
      "  if (probeSelect > 0.5) c = shWorldMat[0] + shVProjMat[0] + vec4(TIME_RATE);\n"
      "  if (probeSelect > 1.5) c = vec4(shEyePos + shLightPos, 1.0);\n"
      "  gl_FragColor = c;\n"
      "}\n"
      "technique Probe {\n";
  for (int i = 0; i < passes; ++i) text += "  pass { VertexProgram = vsProbe; FragmentProgram = fsProbe; }\n";
  return text + "}\n";
}

ModelData QuadModel(const std::vector<std::string>& names, const std::vector<uint32_t>& depths,
                    std::array<float, 4> color) {
  ModelData model;
  ModelMaterial material;
  material.color = color;
  material.effect = PROBE_EFFECT_PATH;
  model.materials.push_back(material);
  for (size_t i = 0; i < names.size(); ++i) {
    ModelObject object;
    object.name = names[i];
    object.depth = depths[i];
    object.positions = {-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0};
    ModelFace a, b;
    a.indices = {0, 1, 2, 0};
    b.indices = {0, 2, 3, 0};
    object.faces = {a, b};
    model.objects.push_back(object);
  }
  return model;
}

std::string ModelCacheText(const ModelData& model) {
  std::vector<uint8_t> bytes = WriteModelCache(model);
  return std::string(bytes.begin(), bytes.end());
}

std::string TdfHeader() { return "TScene Demo File\nFormat Text Ver 1.0\nscene tests\n"; }

int WordCount(const std::string& text) {
  std::istringstream words(text);
  int count = 0;
  for (std::string word; words >> word;) ++count;
  return count;
}

std::string KeyTimes(const std::string& times) {
  return "    DataNum " + std::to_string(WordCount(times)) + "\n    Time { " + times + " }\n";
}

std::vector<float> UploadedUniform(resShader* effect, const char* name, int count, int pass) {
  GLuint program = effect->getEffect()->PassProgram(pass);
  std::vector<float> values(16, -999.0f);
  GLint location = glGetUniformLocation(program, name);
  if (location >= 0) glGetUniformfv(program, location, values.data());
  values.resize(static_cast<size_t>(count));
  return values;
}

void ScenePackTest::SetUp() {
  ResourcePackTest::SetUp();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_CULL_FACE);
  glDisable(GL_BLEND);
  gShaderManager.SetCurrentEffect(nullptr);
}

void ScenePackTest::TearDown() {
  gShaderManager.SetCurrentEffect(nullptr);
  ResourcePackTest::TearDown();
}

void ScenePackTest::OpenPack(const PackContents& entries) {
  PackContents all = entries;
  for (auto& entry : CoreModelEntries()) all.push_back(entry);
  all.emplace_back(PROBE_EFFECT_PATH, ProbeEffectText());
  ResourcePackTest::OpenPack(all);
}
