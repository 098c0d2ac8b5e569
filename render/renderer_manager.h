#pragma once

#include "core/manager.h"

class rendererManager : public Interface<rendererManager> {
  CORE_DECLARE_MANAGER(rendererManager)
  uint16_t GetPriority() const override { return 16; }
};
CORE_DECLARE_MANAGER_RECORD(rendererManager);

extern rendererManager gRendererManager;
