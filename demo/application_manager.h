#pragma once
// The slot for an application's own per-frame logic; the timeline needs none.

#include "core/manager.h"

class applicationManager : public Interface<applicationManager> {
  CORE_DECLARE_MANAGER(applicationManager)
  uint16_t GetPriority() const override { return 65535; }
  bool Initialize() override { return true; }
  bool Terminate() override { return true; }
  bool FrameUpdate() override { return true; }
};
CORE_DECLARE_MANAGER_RECORD(applicationManager);

extern applicationManager gApplicationManager;
