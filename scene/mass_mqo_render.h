#pragma once
// cMassMqoRender: many copies of one model drawn with one material set-up. The caller opens a
// material and pass once, then per copy changes the model-view matrix, sets the instance matrices
// and draws the instance, and closes the pass at the end.

#include <cstdint>

#include "scene/mqo_render.h"

class cMassMqoRender : public cMqoRender {
  CORE_DECLARE_DYNAMIC(cMassMqoRender)
  cMassMqoRender() = default;

  // SetMaterial, then BeginPass(pass); remembers both.
  virtual void BeginMaterial(float time, uint32_t pass, uint32_t material, float alpha);
  // The world, view and projection matrices of the current GL matrices on the current effect.
  virtual void SetInstanceMatrices();
  // Calls the model's list of the current material; nothing without a model or such a material.
  virtual void DrawInstance();
  // EndPass of the remembered pass.
  virtual void EndMaterial();

  uint32_t CurrentMaterial() const { return mMaterial; }
  uint32_t CurrentPass() const { return mPass; }

 private:
  uint32_t mMaterial = 0;
  uint32_t mPass = 0;
};
