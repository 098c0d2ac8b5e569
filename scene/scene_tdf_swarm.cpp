#include "scene/scene_tdf_swarm.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "files/tdf_document.h"
#include "render/shader_manager.h"
#include "resources/res_mqo.h"
#include "resources/res_shader.h"
#include "resources/res_tdf.h"
#include "scene/mass_mqo_render.h"
#include "scene/scene_camera.h"
#include "scene/tdf_render.h"
#include "render/matrix_stack.h"

CORE_IMPLEMENT_DYNAMIC_NAMED(CSceneTdf_swarm, CSceneTdfDefault, SWARM_CLASS_NAME)

namespace {

constexpr float TWO_PI = 6.2831853f;
constexpr float GOLDEN_ANGLE = 2.3999632f;
constexpr size_t COPY_OBJECT = 1;
constexpr size_t CONTROL_OBJECT = 2;

// A repeatable number in [0, 1) for copy index and a salt.
float Unit(int index, uint32_t salt) {
  uint32_t h = static_cast<uint32_t>(index) * 0x9E3779B1u ^ salt * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return static_cast<float>(h >> 8) / 16777216.0f;
}

std::array<float, 3> SpherePoint(int index, int count) {
  float y = 1.0f - 2.0f * (static_cast<float>(index) + 0.5f) / static_cast<float>(count);
  float r = std::sqrt(std::max(0.0f, 1.0f - y * y));
  float angle = static_cast<float>(index) * GOLDEN_ANGLE;
  return {r * std::cos(angle), y, r * std::sin(angle)};
}

std::array<float, 3> Mix(const std::array<float, 3>& a, const std::array<float, 3>& b, float t) {
  return {a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t};
}

int FormationNumber(float value) { return std::clamp(static_cast<int>(std::floor(value + 0.5f)), 0, SWARM_FORMATIONS - 1); }

}  // namespace

std::array<float, 3> SwarmFormationPoint(int formation, int index, int count) {
  count = std::max(count, 1);
  float u1 = Unit(index, 1), u2 = Unit(index, 2), u3 = Unit(index, 3);
  switch (std::clamp(formation, 0, SWARM_FORMATIONS - 1)) {
    case 0: return SpherePoint(index, count);
    case 1: {
      float t = TWO_PI * static_cast<float>(index) / static_cast<float>(count);
      float r = 2.0f + std::cos(3.0f * t);
      return {r * std::cos(2.0f * t) / 3.0f, std::sin(3.0f * t) * 1.1f / 3.0f, r * std::sin(2.0f * t) / 3.0f};
    }
    case 2: {
      float h = 2.0f * static_cast<float>(index) / static_cast<float>(count) - 1.0f;
      float angle = static_cast<float>(index) * 0.61f + h * 6.0f;
      float r = 0.25f + 0.75f * (1.0f - h * h);
      return {r * std::cos(angle), h, r * std::sin(angle)};
    }
    case 3: {
      float arm = static_cast<float>(index % 3);
      float d = std::sqrt(u1);
      float angle = arm * TWO_PI / 3.0f + d * 5.0f + u2 * 0.5f;
      return {d * std::cos(angle), (u3 - 0.5f) * 0.08f, d * std::sin(angle)};
    }
    case 4: {
      std::array<float, 3> p = SpherePoint(index, count);
      float out = 1.2f + 1.8f * u1;
      return {p[0] * out, p[1] * out, p[2] * out};
    }
    case 5: return {u1 * 2.0f - 1.0f, u2 * 2.0f - 1.0f, u3 * 2.0f - 1.0f};
    default: {
      float angle = u1 * TWO_PI;
      return {std::cos(angle), std::sin(angle), (u2 * 2.0f - 1.0f) * 2.5f};
    }
  }
}

SwarmCopy PlaceSwarmCopy(const SwarmControls& controls, int index, float time) {
  float blend = std::clamp(controls.blend, 0.0f, 1.0f);
  blend = blend * blend * (3.0f - 2.0f * blend);
  std::array<float, 3> p = Mix(SwarmFormationPoint(FormationNumber(controls.formationA), index, SWARM_COPIES),
                               SwarmFormationPoint(FormationNumber(controls.formationB), index, SWARM_COPIES), blend);
  // Copies swirl about the swarm's axis, each at its own pace, so the formation churns.
  float swirl = controls.swirl * time * (0.6f + 0.8f * Unit(index, 4));
  float c = std::cos(swirl), s = std::sin(swirl);
  p = {c * p[0] + s * p[2], p[1], -s * p[0] + c * p[2]};
  for (int axis = 0; axis < 3; ++axis) {
    p[axis] = (p[axis] + controls.spread * (Unit(index, 5 + axis) - 0.5f) * 2.0f) * controls.radius;
  }
  std::array<float, 3> tumble = {Unit(index, 8) - 0.5f, Unit(index, 9) - 0.5f, Unit(index, 10) - 0.5f};
  float length = std::sqrt(tumble[0] * tumble[0] + tumble[1] * tumble[1] + tumble[2] * tumble[2]);
  if (length < 1e-4f) tumble = {0.0f, 1.0f, 0.0f}, length = 1.0f;
  SwarmCopy copy;
  copy.position = p;
  copy.axis = {tumble[0] / length, tumble[1] / length, tumble[2] / length};
  copy.angleDegrees = (time * (0.5f + 2.0f * Unit(index, 1)) + static_cast<float>(index)) * 57.29578f;
  copy.scale = controls.size * (0.6f + 0.8f * Unit(index, 2)) * (1.0f + controls.pulse);
  // Cold cyan to warm magenta, brighter than white where the effect lets it glow.
  float hue = Unit(index, 3);
  copy.colour = {(0.25f + 1.35f * hue) * controls.brightness, (0.8f - 0.45f * hue) * controls.brightness,
                 (1.6f - 0.6f * hue) * controls.brightness};
  return copy;
}

CSceneTdf_swarm::CSceneTdf_swarm() = default;
CSceneTdf_swarm::~CSceneTdf_swarm() = default;

void CSceneTdf_swarm::Start(cTdfRender* renderer) {
  if (!renderer) return;
  const auto& renderers = renderer->Renderers(static_cast<uint32_t>(GetSceneIndex()));
  if (renderers.size() <= CONTROL_OBJECT) return;
  resMQO* model = renderers[COPY_OBJECT]->GetModel();
  resMQO* control = renderers[CONTROL_OBJECT]->GetModel();
  if (!model || !control || model->GetObjectCount() == 0 || control->GetObjectCount() == 0) return;
  mCopies = std::make_unique<cMassMqoRender>();
  mCopies->SetModel(model, nullptr);
  mCopyPart = model->GetObjectName(0);
  mControlPart = control->GetObjectName(0);
}

void CSceneTdf_swarm::DrawFrame(cTdfRender* renderer, float phase) {
  CSceneTdfDefault::DrawFrame(renderer, phase);
  resTDF* animation = renderer ? renderer->GetSceneAnimation() : nullptr;
  const TdfDocument* document = animation ? animation->GetDocument() : nullptr;
  if (!mCopies || !document || static_cast<size_t>(GetSceneIndex()) >= document->GetSceneCount()) return;
  const TdfScene& scene = document->GetScene(static_cast<size_t>(GetSceneIndex()));
  if (scene.objects.size() <= CONTROL_OBJECT) return;
  float time = phase * SceneLength(scene);
  TdfKey frame = scene.objects[COPY_OBJECT].GetKey(mCopyPart, time);
  TdfKey steer = scene.objects[CONTROL_OBJECT].GetKey(mControlPart, time);
  SwarmControls controls;
  controls.formationA = steer.position[0];
  controls.formationB = steer.position[1];
  controls.blend = steer.position[2];
  controls.pulse = steer.scale[0];
  controls.swirl = steer.scale[1];
  controls.spread = steer.scale[2];
  controls.brightness = steer.alpha;
  controls.radius = frame.scale[0];
  controls.size = frame.scale[1];

  BeginSceneCamera(EvaluateSceneCamera(scene.objects.front(), time));
  TranslateMatrix(frame.position[0], frame.position[1], -frame.position[2]);
  RotateMatrix(RendererDegrees(frame.rotation[2]), 0.0f, 0.0f, 1.0f);
  RotateMatrix(-RendererDegrees(frame.rotation[1]), 0.0f, 1.0f, 0.0f);
  RotateMatrix(-RendererDegrees(frame.rotation[0]), 1.0f, 0.0f, 0.0f);
  DrawCopies(controls, time);
  EndSceneCamera();
}

void CSceneTdf_swarm::DrawCopies(const SwarmControls& controls, float time) {
  std::vector<SwarmCopy> copies;
  copies.reserve(SWARM_COPIES);
  for (int i = 0; i < SWARM_COPIES; ++i) copies.push_back(PlaceSwarmCopy(controls, i, time));
  for (uint32_t material = 0; material < mCopies->MaterialCount(); ++material) {
    mCopies->SetMaterial(material, 1.0f, time);
    int passes = mCopies->PassCount();
    for (int pass = 0; pass < passes; ++pass) {
      mCopies->BeginMaterial(time, static_cast<uint32_t>(pass), material, 1.0f);
      resShader* effect = gShaderManager.GetCurrentEffect();
      for (const SwarmCopy& copy : copies) {
        PushMatrix();
        TranslateMatrix(copy.position[0], copy.position[1], copy.position[2]);
        RotateMatrix(copy.angleDegrees, copy.axis[0], copy.axis[1], copy.axis[2]);
        ScaleMatrix(copy.scale, copy.scale, copy.scale);
        mCopies->SetInstanceMatrices();
        const float colour[4] = {copy.colour[0], copy.colour[1], copy.colour[2], 1.0f};
        if (effect) effect->setParameter("shMqoColor", colour);
        mCopies->DrawInstance();
        PopMatrix();
      }
      mCopies->EndMaterial();
    }
  }
}
