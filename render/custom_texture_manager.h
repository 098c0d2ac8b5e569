#pragma once

#include "core/manager.h"

class customTextureManager : public Interface<customTextureManager> {
  CORE_DECLARE_MANAGER(customTextureManager)
  uint16_t GetPriority() const override { return 1; }
};
CORE_DECLARE_MANAGER_RECORD(customTextureManager);

extern customTextureManager gCustomTextureManager;
