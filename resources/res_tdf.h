#pragma once
// resTDF: a scene animation file as a resource, holding its parsed document and the model
// resources its model table names.

#include <array>
#include <memory>
#include <string>

#include "files/tdf_document.h"
#include "resources/resource_object.h"

class resMQO;

// The models of one model table, each acquired from the resource manager (a missing entry is
// critical; a resource that is not a model counts as none) with one step of loading progress.
class TdfModelSet {
 public:
  TdfModelSet() = default;
  ~TdfModelSet() { ReleaseAll(); }
  TdfModelSet(const TdfModelSet&) = delete;
  TdfModelSet& operator=(const TdfModelSet&) = delete;

  // Acquires the model at path into slot, releasing what the slot held. Returns its data or null.
  const ModelData* Acquire(int32_t slot, const std::string& path);
  // A loader for TdfDocument that acquires into this set.
  TdfModelLoader Loader();
  // The model in slot, or null (also for a slot outside 0..255).
  resMQO* Get(int slot) const;
  void ReleaseAll();

 private:
  std::array<resMQO*, TDF_MODEL_SLOTS> mModels{};
};

class resTDF : public resourceObject {
  CORE_DECLARE_DYNAMIC(resTDF)
  resTDF() = default;
  ~resTDF() override;

  // Parses the stream's file into a new document, loading its models. Returns the parse result.
  bool Load(CoreFileStream& stream) override;
  // True for "tdf" in any case.
  bool CanLoad(CoreFileStream& stream) override;
  // Destroys the document and releases its models. Returns true.
  bool Unload() override;

  // The document, or null before Load.
  const TdfDocument* GetDocument() const { return mDocument.get(); }
  // The model resource in slot, or null.
  resMQO* GetModel(int slot) const { return mModels.Get(slot); }
  // The model resource of object: its slot's model if that is the one the object was read with;
  // null for the camera, an empty slot or a slot the table later gave another model.
  resMQO* ModelOf(const TdfObject& object) const;

 private:
  std::unique_ptr<TdfDocument> mDocument;
  TdfModelSet mModels;
};
