#pragma once

#include "core/manager.h"

class shaderManager : public Interface<shaderManager> {
  CORE_DECLARE_MANAGER(shaderManager)
  uint16_t GetPriority() const override { return 1; }
};
CORE_DECLARE_MANAGER_RECORD(shaderManager);

extern shaderManager gShaderManager;
