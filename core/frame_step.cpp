#include "core/frame_step.h"

#include "core/manager.h"

bool RunFrame(const FrameHooks& hooks) {
  hooks.profile->FrameBegin();
  hooks.flags->FrameUpdate();
  hooks.system->FrameUpdate();
  hooks.renderer->FrameBegin();
  bool keepRunning = hooks.demo->FrameUpdate();
  hooks.renderer->FrameUpdate();
  hooks.profile->FrameEnd();
  hooks.renderer->FrameEnd();
  return keepRunning;
}
