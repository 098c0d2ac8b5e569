#pragma once

#include "core/manager.h"

class textureManager : public Interface<textureManager> {
  CORE_DECLARE_MANAGER(textureManager)
  uint16_t GetPriority() const override { return 32; }
};
CORE_DECLARE_MANAGER_RECORD(textureManager);

extern textureManager gTextureManager;
