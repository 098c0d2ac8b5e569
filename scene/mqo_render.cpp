#include "scene/mqo_render.h"

#include "files/tdf_object.h"
#include "render/shader_manager.h"
#include "render/texture_manager.h"
#include "resources/custom_texture_manager.h"
#include "resources/res_mqo.h"
#include "resources/res_shader.h"
#include "scene/depth_nesting.h"
#include "render/display_list.h"
#include "render/matrix_stack.h"

CORE_IMPLEMENT_DYNAMIC(cMqoRender, cRenderObject)

namespace {

uint32_t NameOf(cTexture* texture) { return texture ? gTextureManager.lookupName(texture) : 0; }

void PopModelView(int64_t count) {
  for (int64_t i = 0; i < count; ++i) PopMatrix();
}

void PushModelView(int64_t count) {
  for (int64_t i = 0; i < count; ++i) PushMatrix();
}

}  // namespace

float RendererDegrees(float radians) { return radians * 180.0f / 3.141592f; }

cMqoRender::~cMqoRender() { Release(); }

void cMqoRender::SetModel(resMQO* model, const TdfObject* animation) {
  if (model) {
    model->AddRef();  // first: the model may be the one held now
    Release();
    mModel = model;
    size_t materials = mModel->GetMaterialCount();
    mTextureNames.resize(materials);
    mSecondTextureNames.resize(materials);
    for (size_t m = 0; m < materials; ++m) {
      mTextureNames[m] = NameOf(mModel->GetTexture(m, 0));
      mSecondTextureNames[m] = NameOf(mModel->GetTexture(m, 1));
    }
  }
  if (animation) mAnimation = animation;
}

void cMqoRender::Release() {
  if (mModel) mModel->Release();
  mModel = nullptr;
  mTextureNames.clear();
  mSecondTextureNames.clear();
}

int cMqoRender::PassCount() {
  resShader* effect = GetEffect();
  return effect ? effect->passCount() : 0;
}

size_t cMqoRender::MaterialCount() { return mModel ? mModel->GetMaterialCount() : 0; }

uint32_t cMqoRender::TextureName(size_t m, int which) const {
  const std::vector<uint32_t>& names = which == 0 ? mTextureNames : mSecondTextureNames;
  return (which == 0 || which == 1) && m < names.size() ? names[m] : 0;
}

void cMqoRender::DrawFace(size_t object, size_t face, size_t material) {
  if (!mModel || object >= mModel->GetObjectCount() || material >= mModel->GetMaterialCount()) return;
  if (face >= mModel->GetObject(object).faces.size()) return;
  mModel->EmitFace(face, object, material);
}

void cMqoRender::SetMaterial(size_t material, float alpha, float time) {
  if (material >= MaterialCount()) return;
  SetEffect(mModel->GetEffect(material));
  if (GetEffect()) gShaderManager.SetCurrentEffect(GetEffect());
  if (resShader* effect = gShaderManager.GetCurrentEffect()) {
    const uint32_t textures[2] = {TextureName(material, 0), TextureName(material, 1)};
    effect->setParameter("shBaseTexture", &textures[0]);
    effect->setParameter("shOverlapTexture", &textures[1]);
    const auto& color = mModel->GetMaterial(material).color;
    const float tinted[4] = {color[0], color[1], color[2], color[3] * alpha};
    effect->setParameter("shMqoColor", tinted);
    effect->setParameter("TIME_RATE", &time);
  }
  gCustomTextureManager.bindTextures(GetEffect());
}

int cMqoRender::DrawListPerPass(uint32_t list) {
  int passes = 0;
  for (; passes < PassCount(); ++passes) {
    BeginPass(passes);
    CallDisplayList(list);
    EndPass(passes);
  }
  return passes;
}

int cMqoRender::Draw(float time) {
  if (!mModel) return 0;
  if (!mAnimation) return DrawWholeModel(1.0f, time);
  return DrawObjectByObject(time);
}

int cMqoRender::DrawWholeModel(float alpha, float time) {
  const std::vector<unsigned>& lists = mModel->GetMaterialLists();
  int drawn = 0;
  for (size_t m = 0; m < MaterialCount() && m < lists.size(); ++m) {
    SetMaterial(m, alpha, time);
    drawn += DrawListPerPass(lists[m]);
  }
  return drawn;
}

int cMqoRender::DrawObjectByObject(float time) {
  SelectMatrixStack(MatrixStack::Modelview);
  int64_t room = ModelviewStackRoom();
  if (room < 1) return 0;  // every object needs a matrix of its own
  DepthNesting nesting(room);
  int drawn = 0;
  for (size_t i = 0; i < mModel->GetObjectCount(); ++i) {
    const ModelObject& object = mModel->GetObject(i);
    NestingStep step = nesting.Enter(object.depth);
    PopModelView(step.pops);
    PushModelView(step.pushes);
    TdfKey key = mAnimation->GetKey(object.name, time);
    PlaceObject(i, key);
    drawn += DrawObject(i, key.alpha, time);
  }
  SelectMatrixStack(MatrixStack::Modelview);
  PopModelView(nesting.Finish());
  return drawn;
}

void cMqoRender::PlaceObject(size_t object, const TdfKey& key) {
  ModelPoint pivot = mModel->FindNamedPoint(mModel->GetObject(object).name);
  TranslateMatrix(pivot[0], pivot[1], -pivot[2]);
  TranslateMatrix(key.position[0], key.position[1], -key.position[2]);
  RotateMatrix(RendererDegrees(key.rotation[2]), 0.0f, 0.0f, 1.0f);
  RotateMatrix(-RendererDegrees(key.rotation[1]), 0.0f, 1.0f, 0.0f);
  RotateMatrix(-RendererDegrees(key.rotation[0]), 1.0f, 0.0f, 0.0f);
  ScaleMatrix(key.scale[0], key.scale[1], key.scale[2]);
  TranslateMatrix(-pivot[0], -pivot[1], pivot[2]);
}

int cMqoRender::DrawObject(size_t object, float alpha, float time) {
  const auto& objectLists = mModel->GetObjectLists();
  auto lists = objectLists.find(static_cast<int>(object));
  if (lists == objectLists.end()) return 0;
  int drawn = 0;
  for (size_t m = 0; m < MaterialCount() && m < lists->second.size(); ++m) {
    SetMaterial(m, alpha, time);
    drawn += DrawListPerPass(lists->second[m]);
  }
  return drawn;
}
