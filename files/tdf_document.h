#pragma once
// A parsed scene animation (".tdf"): the model table of its MQO block and its scenes, each a list
// of animated objects, with the running end time of every scene.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "files/model_data.h"
#include "files/tdf_object.h"

inline constexpr int TDF_MODEL_SLOTS = 256;

struct TdfScene {
  std::string name;
  std::vector<TdfObject> objects;
};

// Gives the model at path for a slot of the model table, or null. The document borrows it: whoever
// loads it keeps it alive as long as the document (resTDF holds the model resources).
using TdfModelLoader = std::function<const ModelData*(int32_t slot, const std::string& path)>;

// A loader that loads nothing: the document keeps the paths, and objects get no model parts.
inline const ModelData* NoTdfModels(int32_t, const std::string&) { return nullptr; }

class TdfDocument {
 public:
  TdfDocument() = default;
  ~TdfDocument();
  TdfDocument(const TdfDocument&) = delete;
  TdfDocument& operator=(const TdfDocument&) = delete;

  // Reads the scene animation at the pack path (a missing entry is critical). Returns true.
  bool ParseTdf(const char* path, const TdfModelLoader& loader);
  // The same over a text held in memory.
  bool ParseTdfText(const std::string& text, const TdfModelLoader& loader);

  size_t GetSceneCount() const { return mScenes.size(); }
  const TdfScene& GetScene(size_t index) const { return mScenes[index]; }
  const std::vector<TdfScene>& GetScenes() const { return mScenes; }
  const std::vector<float>& GetSceneEndTimes() const { return sceneEndTimes; }
  // The model in slot, or null (also for a slot outside 0..255).
  const ModelData* GetModel(int slot) const;
  // The path the model table names for slot; empty for a slot it leaves out.
  const std::string& GetModelPath(int slot) const;
  // A copy of material m of the model in slot; false when there is no such model or material.
  bool GetModelMaterial(int slot, size_t m, ModelMaterial& material) const;

 private:
  friend class TdfParser;
  void Clear();

  std::array<const ModelData*, TDF_MODEL_SLOTS> mModels{};
  std::array<std::string, TDF_MODEL_SLOTS> mModelPaths;
  std::vector<TdfScene> mScenes;
  std::vector<float> sceneEndTimes;
};

// The number of tokens containing ".mqo" in the MQO blocks of the scene animation at path: its
// weight in the loading progress.
int CountModelReferences(const char* path);
// The same over a text held in memory.
int CountModelReferencesInText(const std::string& text);
