#include "app/entry.h"

#include "core/frame_step.h"
#include "core/manager.h"
#include "platform/events.h"
#include "platform/key_codes.h"
#include "shell/alert_box.h"
#include "shell/system_manager.h"

namespace {

enum class LoopStep { Continue, Leave };

// The first Escape starts the demo's fade-out; a second one (an auto-repeat counts) ends the
// loop at once.
LoopStep HandleEvent(const platform::Event& event) {
  if (event.type == platform::EventType::Quit) return LoopStep::Leave;
  if (event.type == platform::EventType::KeyDown && event.key == platform::KEY_ESCAPE) {
    if (gSystemManager.IsEscapePressed()) return LoopStep::Leave;
    gSystemManager.SetEscapePressed();
  }
  if (event.type == platform::EventType::None) return LoopStep::Continue;
  platform::TranslateEvent(event);
  platform::DispatchEvent(event);
  return LoopStep::Continue;
}

}  // namespace

int RunPlayer() {
  SetAlertPresenter(ShowAlertBox);
  if (!InitializeAll()) return 0;
  uintptr_t lastParam = 0;
  for (;;) {
    platform::Event event;
    if (platform::PollEvent(&event)) {
      lastParam = event.param;
      if (HandleEvent(event) == LoopStep::Leave) break;
    } else if (!RunFrame()) {
      break;
    }
  }
  TerminateAll();
  return static_cast<int>(lastParam);
}
