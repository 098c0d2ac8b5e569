#pragma once

#include "core/manager.h"

class demoManager : public Interface<demoManager> {
  CORE_DECLARE_MANAGER(demoManager)
  uint16_t GetPriority() const override { return 256; }
};
CORE_DECLARE_MANAGER_RECORD(demoManager);

extern demoManager gDemoManager;
