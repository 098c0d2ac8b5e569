#include "app/entry.h"

#include "core/frame_step.h"
#include "core/manager.h"

int RunPlayer() {
  if (!InitializeAll()) return 0;
  while (RunFrame()) {
  }
  TerminateAll();
  return 0;
}
