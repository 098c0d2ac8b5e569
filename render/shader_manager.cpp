#include "render/shader_manager.h"

CORE_IMPLEMENT_MANAGER(shaderManager)

bool shaderManager::Initialize() {
  mCurrentEffect = nullptr;
  return true;
}

bool shaderManager::Terminate() {
  mCurrentEffect = nullptr;
  return true;
}
