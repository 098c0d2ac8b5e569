#pragma once

#include "core/manager.h"

class settingsManager : public Interface<settingsManager> {
  CORE_DECLARE_MANAGER(settingsManager)
  uint16_t GetPriority() const override { return 1; }
};
CORE_DECLARE_MANAGER_RECORD(settingsManager);

extern settingsManager gSettingsManager;
