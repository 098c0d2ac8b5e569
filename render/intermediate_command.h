#pragma once

#include "core/manager.h"

class intermediateCommand : public Interface<intermediateCommand> {
  CORE_DECLARE_MANAGER(intermediateCommand)
  uint16_t GetPriority() const override { return 17; }
};
CORE_DECLARE_MANAGER_RECORD(intermediateCommand);

extern intermediateCommand gIntermediateCommand;
