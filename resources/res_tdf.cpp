#include "resources/res_tdf.h"

#include "files/core_file_stream.h"
#include "resources/res_mqo.h"
#include "resources/resource_manager.h"

CORE_IMPLEMENT_DYNAMIC(resTDF, resourceObject)

const ModelData* TdfModelSet::Acquire(int32_t slot, const std::string& path) {
  resourceObject* resource = gResourceManager.GetResource(path.c_str());
  if (resource && !resource->IsKindOf("resMQO")) {
    resource->Release();
    resource = nullptr;
  }
  gResourceManager.AdvanceProgress();
  resMQO* model = static_cast<resMQO*>(resource);
  if (slot < 0 || slot >= TDF_MODEL_SLOTS) {
    if (model) model->Release();
    return nullptr;
  }
  if (mModels[slot]) mModels[slot]->Release();
  mModels[slot] = model;
  return model ? model->GetModelData() : nullptr;
}

TdfModelLoader TdfModelSet::Loader() {
  return [this](int32_t slot, const std::string& path) { return Acquire(slot, path); };
}

resMQO* TdfModelSet::Get(int slot) const { return slot >= 0 && slot < TDF_MODEL_SLOTS ? mModels[slot] : nullptr; }

void TdfModelSet::ReleaseAll() {
  for (resMQO*& model : mModels) {
    if (model) model->Release();
    model = nullptr;
  }
}

resTDF::~resTDF() { Unload(); }

bool resTDF::CanLoad(CoreFileStream& stream) { return HasExtension(stream, "tdf"); }

bool resTDF::Load(CoreFileStream& stream) {
  resourceObject::Load(stream);
  mDocument = std::make_unique<TdfDocument>();
  if (mDocument->ParseTdf(stream.GetName().c_str(), mModels.Loader())) return true;
  return FailLoad("the scene animation could not be parsed");
}

bool resTDF::Unload() {
  mDocument.reset();
  mModels.ReleaseAll();
  return true;
}

resMQO* resTDF::ModelOf(const TdfObject& object) const {
  resMQO* model = GetModel(object.modelIndex);
  return model && object.model && model->GetModelData() == object.model ? model : nullptr;
}
