#pragma once
// The engine's slot for messaging between parts; it holds nothing.

#include "core/manager.h"

class messageManager : public Interface<messageManager> {
  CORE_DECLARE_MANAGER(messageManager)
  uint16_t GetPriority() const override { return 32; }
};
CORE_DECLARE_MANAGER_RECORD(messageManager);

extern messageManager gMessageManager;
