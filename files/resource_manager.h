#pragma once

#include "core/manager.h"

class resourceManager : public Interface<resourceManager> {
  CORE_DECLARE_MANAGER(resourceManager)
  uint16_t GetPriority() const override { return 65535; }
};
CORE_DECLARE_MANAGER_RECORD(resourceManager);

extern resourceManager gResourceManager;
