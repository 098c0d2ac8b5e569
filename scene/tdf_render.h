#pragma once
// cTdfRender: plays the scenes of a scene animation. For a scene at a phase it evaluates the
// camera, sets up the jittered projection and the view, and draws every visible object through a
// model renderer of its own that places the model's parts by their keys.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scene/mqo_render.h"
#include "scene/render_object.h"

class resTDF;
struct ModelMaterial;

class cTdfRender : public cRenderObject {
  CORE_DECLARE_DYNAMIC(cTdfRender)
  cTdfRender() = default;
  ~cTdfRender() override;
  cTdfRender(const cTdfRender&) = delete;
  cTdfRender& operator=(const cTdfRender&) = delete;

  // Takes one reference on tdf and builds one model renderer per object of every scene. A null
  // resource, or one without a document, gives no scenes.
  virtual void SetSceneAnimation(resTDF* tdf);
  // Destroys the renderers and drops the reference.
  virtual void Release();
  // Draws the first scene named exactly name; nothing when there is none.
  virtual void DrawSceneByName(const std::string& name, float time);
  virtual void DrawScene(uint32_t index, float time);
  // Material materialIndex of the model in slot modelIndex of the model table, copied into out when
  // out is given; null when there is no such model or material.
  virtual const ModelMaterial* GetModelMaterial(int modelIndex, ModelMaterial* out, size_t materialIndex);
  // Draws scene index at phase time (0 to 1 over the scene's camera track) from object first on;
  // the camera is set up (and the objects drawn in its view) only when first is 1. An index
  // outside the scenes draws nothing.
  virtual void DrawSceneFrom(uint32_t index, float time, int first);

  resTDF* GetSceneAnimation() const { return mAnimation; }
  uint32_t SceneCount() const { return mSceneCount; }
  // The renderers of scene index, one per object in object order; none outside the scenes.
  const std::vector<std::unique_ptr<cMqoRender>>& Renderers(uint32_t index) const;

 private:
  void DrawObjects(uint32_t index, float animationTime, int first);

  resTDF* mAnimation = nullptr;
  uint32_t mSceneCount = 0;
  std::vector<std::vector<std::unique_ptr<cMqoRender>>> mRenderers;
};
