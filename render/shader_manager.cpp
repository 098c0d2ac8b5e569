#include "render/shader_manager.h"

CORE_IMPLEMENT_MANAGER(shaderManager)

bool shaderManager::Initialize() {
  mCompileLog.clear();
  mCurrentEffect = nullptr;
  return true;
}

bool shaderManager::Terminate() {
  mCompileLog.clear();
  mCurrentEffect = nullptr;
  return true;
}
