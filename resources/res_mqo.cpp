#include "resources/res_mqo.h"

#include "files/core_file_stream.h"
#include "files/model_cache.h"
#include "render/display_list.h"
#include "render/immediate_draw.h"
#include "render/texture.h"
#include "resources/res_shader.h"
#include "resources/res_texture.h"
#include "resources/resource_manager.h"

CORE_IMPLEMENT_DYNAMIC(resMQO, resourceObject)

std::string ModelCachePath(const std::string& name) {
  size_t dot = name.rfind('.');
  return (dot == std::string::npos ? name : name.substr(0, dot)) + ".bmdl";
}

namespace {

// Corner arrays as the client arrays take them: 3 position, 3 normal and 2 texture floats.
struct CornerArrays {
  std::vector<float> positions;
  std::vector<float> normals;
  std::vector<float> uvs;

  void Append(const ModelObject& object, const ModelFace& face, uint32_t corners, float uScale, float vScale) {
    for (uint32_t c = 0; c < corners; ++c) {
      uint32_t v = face.indices[c];
      positions.insert(positions.end(), &object.positions[3 * v], &object.positions[3 * v] + 3);
      normals.insert(normals.end(), &object.normals[3 * v], &object.normals[3 * v] + 3);
      uvs.push_back(face.uv[c][0] * uScale);
      uvs.push_back(face.uv[c][1] * vScale);
    }
  }

  void Draw() const {
    const size_t count = positions.size() / 3;
    if (count == 0) return;
    DrawTriangleArrays(positions.data(), normals.data(), uvs.data(), count);
  }
};

template <class Resource>
Resource* Acquire(const std::string& path, const char* fallback, const char* className) {
  resourceObject* resource = gResourceManager.GetResource(path.empty() ? fallback : path.c_str());
  if (resource && !resource->IsKindOf(className)) {
    resource->Release();
    return nullptr;
  }
  return static_cast<Resource*>(resource);
}

template <class Resource>
void ReleaseAll(std::vector<Resource*>& resources) {
  for (Resource*& resource : resources) {
    if (resource) resource->Release();
  }
  resources.clear();
}

}  // namespace

resMQO::~resMQO() { Unload(); }

bool resMQO::CanLoad(CoreFileStream& stream) { return HasExtension(stream, "mqo") || HasExtension(stream, "bmdl"); }

bool resMQO::Load(CoreFileStream& stream) {
  resourceObject::Load(stream);
  mModel = std::make_unique<ModelData>();
  std::string failure;
  if (!ReadModelCache(ModelCachePath(stream.GetName()), *mModel)) {
    failure = "the model cache is damaged: it lacks the \"" + std::string(MODEL_CACHE_MAGIC) +
              "\" magic, is cut short, or holds a count, corner count or index out of range";
  } else {
    failure = AcquireMaterialResources();
  }
  if (!failure.empty()) {
    ReleaseMaterialResources();
    mModel.reset();
    return FailLoad("the model is dropped: " + failure);
  }
  CompileLists();
  return true;
}

std::string resMQO::AcquireMaterialResources() {
  for (size_t m = 0; m < mModel->materials.size(); ++m) {
    const ModelMaterial& material = mModel->materials[m];
    auto missing = [m](const char* what, const std::string& path, const char* fallback) {
      return "its material " + std::to_string(m) + "'s " + what + " " + (path.empty() ? fallback : path) + " did not load";
    };
    mTextures.push_back(Acquire<resTexture>(material.texture, DEFAULT_TEXTURE_PATH, "resTexture"));
    if (!mTextures.back()) return missing("texture", material.texture, DEFAULT_TEXTURE_PATH);
    mSecondTextures.push_back(Acquire<resTexture>(material.texture2, DEFAULT_TEXTURE_PATH, "resTexture"));
    if (!mSecondTextures.back()) return missing("second texture", material.texture2, DEFAULT_TEXTURE_PATH);
    mEffects.push_back(Acquire<resShader>(material.effect, DEFAULT_EFFECT_PATH, "resShader"));
    if (!mEffects.back()) return missing("effect", material.effect, DEFAULT_EFFECT_PATH);
  }
  return "";
}

void resMQO::ReleaseMaterialResources() {
  ReleaseAll(mTextures);
  ReleaseAll(mSecondTextures);
  ReleaseAll(mEffects);
}

void resMQO::CompileLists() {
  size_t materials = mModel->materials.size();
  // One triangle per face of three or more corners, in face order: what EmitFace draws.
  auto compile = [&](size_t firstObject, size_t lastObject, size_t m) {
    cTexture* texture = GetTexture(m, 0);
    float uScale = texture ? texture->GetUScale() : 1.0f;
    float vScale = texture ? texture->GetVScale() : 1.0f;
    CornerArrays arrays;
    for (size_t j = firstObject; j < lastObject; ++j) {
      const ModelObject& object = mModel->objects[j];
      for (const ModelFace& face : object.faces) {
        if (face.material == m && face.cornerCount >= 3) arrays.Append(object, face, 3, uScale, vScale);
      }
    }
    return CompileDisplayList([&arrays] { arrays.Draw(); });
  };
  for (size_t m = 0; m < materials; ++m) mMaterialLists.push_back(compile(0, mModel->objects.size(), m));
  for (size_t i = 0; i < mModel->objects.size(); ++i) {
    std::vector<unsigned>& lists = mObjectLists[static_cast<int>(i)];
    for (size_t m = 0; m < materials; ++m) lists.push_back(compile(i, i + 1, m));
  }
}

bool resMQO::Unload() {
  ReleaseMaterialResources();
  for (unsigned list : mMaterialLists) DeleteDisplayList(list);
  for (const auto& [object, lists] : mObjectLists) {
    for (unsigned list : lists) DeleteDisplayList(list);
  }
  mMaterialLists.clear();
  mObjectLists.clear();
  mModel.reset();
  return true;
}

std::string resMQO::GetObjectName(size_t i) const { return i < GetObjectCount() ? mModel->objects[i].name : std::string(); }

cTexture* resMQO::GetTexture(size_t m, int which) const {
  const std::vector<resTexture*>& textures = which == 0 ? mTextures : mSecondTextures;
  if ((which != 0 && which != 1) || m >= textures.size() || !textures[m]) return nullptr;
  return textures[m]->GetTexture();
}

ModelPoint resMQO::FindNamedPoint(const std::string& name) const {
  return mModel ? mModel->FindNamedPoint(name) : ModelPoint{0, 0, 0};
}

void resMQO::EmitFace(size_t k, size_t j, size_t m) const {
  const ModelObject& object = mModel->objects[j];
  const ModelFace& face = object.faces[k];
  cTexture* texture = GetTexture(m, 0);
  // Triangles over the face's corners: three or four corners draw one triangle, fewer nothing.
  uint32_t corners = face.cornerCount >= 3 ? 3 : 0;
  CornerArrays arrays;
  arrays.Append(object, face, corners, texture ? texture->GetUScale() : 1.0f, texture ? texture->GetVScale() : 1.0f);
  arrays.Draw();
}
