#pragma once
// A placeholder in the manager set: the camera and light that effects see are set per scene
// by the animated scene renderer.

#include "core/manager.h"

class cameraManager : public Interface<cameraManager> {
  CORE_DECLARE_MANAGER(cameraManager)
  uint16_t GetPriority() const override { return 1; }
  bool Initialize() override { return true; }
  bool Terminate() override { return true; }
  bool FrameUpdate() override { return true; }
};
CORE_DECLARE_MANAGER_RECORD(cameraManager);

extern cameraManager gCameraManager;
