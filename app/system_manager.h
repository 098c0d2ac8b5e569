#pragma once

#include "core/manager.h"

class systemManager : public Interface<systemManager> {
  CORE_DECLARE_MANAGER(systemManager)
  uint16_t GetPriority() const override { return 2; }
};
CORE_DECLARE_MANAGER_RECORD(systemManager);

extern systemManager gSystemManager;
