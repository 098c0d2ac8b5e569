#pragma once

#include "core/manager.h"

class cPostEffectManager : public Interface<cPostEffectManager> {
  CORE_DECLARE_MANAGER(cPostEffectManager)
  uint16_t GetPriority() const override { return 1; }
};
CORE_DECLARE_MANAGER_RECORD(cPostEffectManager);

extern cPostEffectManager gPostEffectManager;
