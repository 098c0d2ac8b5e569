#include "scene/mass_mqo_render.h"

#include "resources/res_mqo.h"
#include "render/display_list.h"

CORE_IMPLEMENT_DYNAMIC(cMassMqoRender, cMqoRender)

void cMassMqoRender::BeginMaterial(float time, uint32_t pass, uint32_t material, float alpha) {
  SetMaterial(material, alpha, time);
  mMaterial = material;
  BeginPass(static_cast<int>(pass));
  mPass = pass;
}

void cMassMqoRender::SetInstanceMatrices() { SetStandardMatrices(); }

void cMassMqoRender::DrawInstance() {
  resMQO* model = GetModel();
  if (!model || mMaterial >= model->GetMaterialLists().size()) return;
  CallDisplayList(model->GetMaterialLists()[mMaterial]);
}

void cMassMqoRender::EndMaterial() { EndPass(static_cast<int>(mPass)); }
