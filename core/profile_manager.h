#pragma once
// Measures each frame's processing time with the high-resolution counter.

#include <cstdint>

#include "core/manager.h"

class profileManager : public Interface<profileManager> {
  CORE_DECLARE_MANAGER(profileManager)
  profileManager();
  uint16_t GetPriority() const override { return 65535; }
  // Notes the counter at the start of the frame.
  bool FrameBegin() override;
  // Stores the milliseconds since FrameBegin.
  bool FrameEnd() override;

  float FrameTime() const { return mFrameTime; }

 private:
  int64_t mFrameStart;
  float mFrameTime = 0.0f;
};
CORE_DECLARE_MANAGER_RECORD(profileManager);

extern profileManager gProfileManager;
