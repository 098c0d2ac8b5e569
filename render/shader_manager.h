#pragma once
// shaderManager: the effect compiler's state and the current effect, on which drawing code sets
// parameters and runs passes (make it current, set parameters, then per pass: setPassState,
// draw, resetPassState).

#include <string>

#include "core/manager.h"

class resShader;

class shaderManager : public Interface<shaderManager> {
  CORE_DECLARE_MANAGER(shaderManager)
  uint16_t GetPriority() const override { return 1; }
  // Creates the compiler state. Needs no GL context: effects are built when they load.
  bool Initialize() override;
  bool Terminate() override;

  resShader* GetCurrentEffect() const { return mCurrentEffect; }
  void SetCurrentEffect(resShader* effect) { mCurrentEffect = effect; }

 private:
  resShader* mCurrentEffect = nullptr;
};
CORE_DECLARE_MANAGER_RECORD(shaderManager);

extern shaderManager gShaderManager;
