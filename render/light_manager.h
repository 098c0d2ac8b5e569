#pragma once
// A placeholder in the manager set: the camera and light that effects see are set per scene
// by the animated scene renderer.

#include "core/manager.h"

class lightManager : public Interface<lightManager> {
  CORE_DECLARE_MANAGER(lightManager)
  uint16_t GetPriority() const override { return 1; }
  bool Initialize() override { return true; }
  bool Terminate() override { return true; }
  bool FrameUpdate() override { return true; }
};
CORE_DECLARE_MANAGER_RECORD(lightManager);

extern lightManager gLightManager;
