#pragma once
// resMQO: a model as a resource. Requests name the Metasequoia path; the model is always read from
// the model cache beside it (".bmdl"). Loading acquires every material's two textures and its
// effect (defaults for empty paths) and compiles display lists: one per material over all
// objects, and one per object and material.

#include <map>
#include <memory>
#include <string>
#include <vector>


#include "files/model_data.h"
#include "resources/resource_object.h"

class cTexture;
class resShader;
class resTexture;

inline constexpr char DEFAULT_TEXTURE_PATH[] = "data\\core\\texture\\defaultTexture.bmp";
inline constexpr char DEFAULT_EFFECT_PATH[] = "data\\core\\shader\\defaultShader.cgfx";

// The cache path of a model name: cut at its last "." and followed by ".bmdl".
std::string ModelCachePath(const std::string& name);

class resMQO : public resourceObject {
  CORE_DECLARE_DYNAMIC(resMQO)
  resMQO() = default;
  ~resMQO() override;

  // Reads the cache, acquires the material resources and compiles the lists (needs GL). On any
  // failure releases everything acquired and returns false.
  bool Load(CoreFileStream& stream) override;
  // True for "mqo" and "bmdl" in any case.
  bool CanLoad(CoreFileStream& stream) override;
  // Releases the material resources, deletes the lists, drops the model. Returns true.
  bool Unload() override;

  size_t GetObjectCount() const { return mModel ? mModel->objects.size() : 0; }
  size_t GetMaterialCount() const { return mModel ? mModel->materials.size() : 0; }
  // Object or material i; i must be below the count.
  const ModelObject& GetObject(size_t i) const { return mModel->objects[i]; }
  const ModelMaterial& GetMaterial(size_t i) const { return mModel->materials[i]; }
  // A copy of object i's name, or an empty text when i is out of range.
  std::string GetObjectName(size_t i) const;
  // The texture of material m: which 0 its texture, 1 its second texture; null otherwise.
  cTexture* GetTexture(size_t m, int which) const;
  resShader* GetEffect(size_t m) const { return m < mEffects.size() ? mEffects[m] : nullptr; }
  ModelPoint FindNamedPoint(const std::string& name) const;
  const ModelData* GetModelData() const { return mModel.get(); }

  // One list per material, drawing that material's faces of every object in order.
  const std::vector<unsigned>& GetMaterialLists() const { return mMaterialLists; }
  // Per object index, one list per material drawing that object's faces of the material.
  const std::map<int, std::vector<unsigned>>& GetObjectLists() const { return mObjectLists; }

  // Draws face k of object j immediately with material m's texture coordinate scales: a
  // three-corner face as one triangle, a two-corner face as nothing.
  void EmitFace(size_t k, size_t j, size_t m) const;

 private:
  // Acquires every material's textures and effect; "" when all loaded, else which one did not.
  std::string AcquireMaterialResources();
  void CompileLists();
  void ReleaseMaterialResources();

  std::unique_ptr<ModelData> mModel;
  std::vector<resTexture*> mTextures;
  std::vector<resTexture*> mSecondTextures;
  std::vector<resShader*> mEffects;
  std::vector<unsigned> mMaterialLists;
  std::map<int, std::vector<unsigned>> mObjectLists;
};
