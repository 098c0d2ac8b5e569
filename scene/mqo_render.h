#pragma once
// cMqoRender: draws one model through the effects its materials name. Unbound, it draws the whole
// model material by material; bound to an animated object of a scene animation, it draws object by
// object, each placed by the key the animation gives its name at the draw time and nested by its
// depth in the model's object list.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "scene/render_object.h"

class resMQO;
struct TdfObject;
struct TdfKey;

class cMqoRender : public cRenderObject {
  CORE_DECLARE_DYNAMIC(cMqoRender)
  cMqoRender() = default;
  ~cMqoRender() override;
  cMqoRender(const cMqoRender&) = delete;
  cMqoRender& operator=(const cMqoRender&) = delete;

  // Returns the number of display lists called (0 without a model).
  int Draw(float time) override;

  // Binds model (one reference taken, texture names read per material) and animation; a null
  // argument leaves that binding as it was. The animation is not owned.
  virtual void SetModel(resMQO* model, const TdfObject* animation);
  // Drops the model reference.
  virtual void Release();
  // Passes of the renderer's effect, 0 without one.
  virtual int PassCount();
  virtual size_t MaterialCount();
  // Draws face `face` of object `object` immediately with material `material`'s scales; indices
  // outside the model draw nothing.
  virtual void DrawFace(size_t object, size_t face, size_t material);
  // Makes the material's effect current and sets its textures, colour (alpha scaled by `alpha`),
  // "TIME_RATE" and the custom textures. A material outside the model does nothing.
  virtual void SetMaterial(size_t material, float alpha, float time);

  resMQO* GetModel() const { return mModel; }
  const TdfObject* GetAnimation() const { return mAnimation; }
  // The GL texture names of material m's texture (which 0) or second texture (which 1); 0 outside.
  uint32_t TextureName(size_t m, int which) const;

 protected:
  // Calls list once in every pass of the renderer's effect; returns the passes run.
  int DrawListPerPass(uint32_t list);

 private:
  int DrawWholeModel(float alpha, float time);
  int DrawObjectByObject(float time);
  void PlaceObject(size_t object, const TdfKey& key);
  int DrawObject(size_t object, float alpha, float time);

  resMQO* mModel = nullptr;
  const TdfObject* mAnimation = nullptr;
  std::vector<uint32_t> mTextureNames;
  std::vector<uint32_t> mSecondTextureNames;
};

// Radians to degrees as the renderers turn models: in single precision with pi as 3.141592.
float RendererDegrees(float radians);
