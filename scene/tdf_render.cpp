#include "scene/tdf_render.h"

#include "resources/res_mqo.h"
#include "resources/res_tdf.h"
#include "scene/mqo_render.h"
#include "scene/scene_camera.h"
#include "render/immediate_draw.h"
#include "render/matrix_stack.h"

CORE_IMPLEMENT_DYNAMIC(cTdfRender, cRenderObject)

namespace {

const TdfDocument* DocumentOf(const resTDF* animation) { return animation ? animation->GetDocument() : nullptr; }

// The camera object of a scene: its first object (a scene without objects has a still camera).
const TdfObject& CameraOf(const TdfScene& scene) {
  static const TdfObject stillCamera;
  return scene.objects.empty() ? stillCamera : scene.objects.front();
}

// The fixed front view of objects that do not follow the scene camera.
void BeginFrontView() {
  SelectMatrixStack(MatrixStack::Modelview);
  PushMatrix();
  LoadIdentityMatrix();
  MultiplyLookAt(0.0, 0.0, -1.0, 0.0, 0.0, 1.0, 0.0, 1.0, 0.0);
  eyePosition = {0.0f, 0.0f, -1.0f};
  lightPosition = {0.0f, 1000.0f, 1000.0f};
}

void EndFrontView() {
  SelectMatrixStack(MatrixStack::Modelview);
  PopMatrix();
}

}  // namespace

cTdfRender::~cTdfRender() { Release(); }

void cTdfRender::SetSceneAnimation(resTDF* tdf) {
  if (tdf) tdf->AddRef();  // first: tdf may be the animation held now
  Release();
  mAnimation = tdf;
  const TdfDocument* document = DocumentOf(mAnimation);
  if (!document) return;
  for (const TdfScene& scene : document->GetScenes()) {
    std::vector<std::unique_ptr<cMqoRender>>& renderers = mRenderers.emplace_back();
    for (const TdfObject& object : scene.objects) {
      auto renderer = std::make_unique<cMqoRender>();
      renderer->SetModel(mAnimation->ModelOf(object), &object);
      renderers.push_back(std::move(renderer));
    }
  }
  mSceneCount = static_cast<uint32_t>(mRenderers.size());
}

void cTdfRender::Release() {
  mRenderers.clear();
  mSceneCount = 0;
  if (mAnimation) mAnimation->Release();
  mAnimation = nullptr;
}

const std::vector<std::unique_ptr<cMqoRender>>& cTdfRender::Renderers(uint32_t index) const {
  static const std::vector<std::unique_ptr<cMqoRender>> none;
  return index < mRenderers.size() ? mRenderers[index] : none;
}

void cTdfRender::DrawSceneByName(const std::string& name, float time) {
  const TdfDocument* document = DocumentOf(mAnimation);
  if (!document) return;
  const std::vector<TdfScene>& scenes = document->GetScenes();
  for (size_t i = 0; i < scenes.size(); ++i) {
    if (scenes[i].name == name) {
      DrawScene(static_cast<uint32_t>(i), time);
      return;
    }
  }
}

void cTdfRender::DrawScene(uint32_t index, float time) { DrawSceneFrom(index, time, 1); }

const ModelMaterial* cTdfRender::GetModelMaterial(int modelIndex, ModelMaterial* out, size_t materialIndex) {
  resMQO* model = mAnimation ? mAnimation->GetModel(modelIndex) : nullptr;
  if (!model || materialIndex >= model->GetMaterialCount()) return nullptr;
  const ModelMaterial& material = model->GetMaterial(materialIndex);
  if (out) *out = material;
  return &material;
}

void cTdfRender::DrawSceneFrom(uint32_t index, float time, int first) {
  const TdfDocument* document = DocumentOf(mAnimation);
  if (!document || index >= document->GetSceneCount() || index >= mSceneCount) return;
  const TdfScene& scene = document->GetScene(index);
  float animationTime = time * SceneLength(scene);
  if (first == 1) BeginSceneCamera(EvaluateSceneCamera(CameraOf(scene), animationTime));
  DrawObjects(index, animationTime, first);
  if (first == 1) EndSceneCamera();
}

void cTdfRender::DrawObjects(uint32_t index, float animationTime, int first) {
  const TdfScene& scene = DocumentOf(mAnimation)->GetScene(index);
  const std::vector<std::unique_ptr<cMqoRender>>& renderers = mRenderers[index];
  for (size_t j = first > 0 ? static_cast<size_t>(first) : 0; j < scene.objects.size() && j < renderers.size(); ++j) {
    const TdfObject& object = scene.objects[j];
    if (!object.model) continue;
    bool followsCamera = object.CameraTrans != 0;
    if (!followsCamera) BeginFrontView();
    if (object.Visible == 1) {
      if (!followsCamera) SetDepthTest(false);
      if (followsCamera || first != 0) renderers[j]->Draw(animationTime);
      if (!followsCamera) SetDepthTest(true);
    }
    if (!followsCamera) EndFrontView();
  }
}
