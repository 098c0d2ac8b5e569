#include "app/entry.h"

#include "app/software_renderer_notice.h"
#include "core/log.h"
#include "demo/demo_manager.h"
#include "demo/engine_session.h"
#include "platform/events.h"
#include "platform/key_codes.h"
#include "platform/termination_signals.h"
#include "platform/timer.h"
#include "render/renderer_manager.h"
#include "shell/alert_box.h"
#include "shell/settings_manager.h"
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

StartFailures RecordedStartFailures() {
  return {gSystemManager.WindowFailed(), gDemoManager.MusicFailed(), gSettingsManager.LauncherFailed()};
}

// The demo's own end after an Escape is the end of the Escape fade.
int EndStatus() { return gSystemManager.IsEscapePressed() ? PLAYER_EXIT_ESCAPE : PLAYER_EXIT_OVER; }

}  // namespace

int StartFailureStatus(const StartFailures& failures) {
  if (failures.window) return PLAYER_EXIT_NO_WINDOW;
  if (failures.music) return PLAYER_EXIT_NO_MUSIC;
  if (failures.launcher) return PLAYER_EXIT_NO_LAUNCHER;
  return PLAYER_EXIT_OVER;
}

int RunPlayer() {
  platform::CatchTerminationSignals();
  SetAlertPresenter(ShowAlertBox);
  EngineSession engine;
  std::string error;
  if (!engine.Start(EngineOptions{}, error)) return StartFailureStatus(RecordedStartFailures());
  // From here the loop ends the player on a signal, so that the managers' stop gives back the
  // display mode and the gamma ramp.
  platform::SetTerminationPolled(true);
  int status = PLAYER_EXIT_OVER;
  SoftwareRendererNotice notice(rendererManager::DriverRendererName());
  for (;;) {
    if (int signalNumber = platform::TerminationSignal()) {
      status = platform::TerminationExitStatus(signalNumber);
      break;
    }
    platform::Event event;
    if (platform::PollEvent(&event)) {
      if (HandleEvent(event) == LoopStep::Leave) {
        status = event.type == platform::EventType::Quit ? PLAYER_EXIT_OVER : PLAYER_EXIT_ESCAPE;
        break;
      }
    } else if (!engine.RunFrame()) {
      status = EndStatus();
      break;
    } else if (auto text = notice.Observe(gDemoManager.ComposedFrames(), platform::TimeGetTime())) {
      LogText(LogLevel::Warning, "render", *text);
    }
  }
  engine.Stop();
  return status;
}
