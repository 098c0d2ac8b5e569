// The browser player: a front end on the engine host whose frames are the browser's animation
// frames. The page fetches the pack and the music into the file system before main runs and
// passes the settings its controls chose; with --at it shows one frame, paused and silent.
#include <string>
#include <utility>

#include "core/alert.h"
#include "demo/demo_manager.h"
#include "demo/engine_session.h"
#include "platform/web/browser_page.h"
#include "shell/system_manager.h"
#include "sound/sound_player.h"
#include "web/web_arguments.h"

namespace {

constexpr char PACK_PATH[] = "torvane.pak";
// The ring buffer writes a segment when the play cursor is within an eighth of a second of it;
// frames drawn without a GPU take far longer than that, so the stream is refilled on a timer.
constexpr double STREAM_PUMP_MS = 40;
constexpr char TEXT_NO_WEBGL2[] = "This browser offers no WebGL 2, which the player draws with.";
constexpr char TEXT_NO_FLOAT_TARGETS[] =
    "This browser cannot draw into floating-point buffers (EXT_color_buffer_float). "
    "Choose \"Low quality\" to play with 8-bit buffers.";

struct WebPlayer {
  EngineSession engine;
  bool playing = false;
  int escapesHandled = 0;
};

WebPlayer* gPlayer = nullptr;
// Inside one long step (the loading) every present lets the page show the loading bar.
bool gYieldOnPresent = false;

void PresentToPage() {
  if (gYieldOnPresent) platform::YieldToBrowser();
}

void ShowAlertOnPage(const Alert& alert) { platform::ShowPageMessage(alert.caption.c_str(), alert.text.c_str()); }

void Fail(const char* text) {
  platform::ShowPageMessage("Error", text);
  platform::ReportPageState("failed");
}

// The first Escape starts the demo's fade-out; a second one ends the player at once.
bool EndAskedByEscape(WebPlayer& player) {
  int escapes = platform::PageEscapeCount();
  if (escapes == player.escapesHandled) return false;
  player.escapesHandled = escapes;
  if (gSystemManager.IsEscapePressed()) return true;
  gSystemManager.SetEscapePressed();
  return false;
}

void EndPlayer(WebPlayer& player) {
  platform::EndBrowserLoop();
  player.engine.Stop();
  platform::ReportPageState("ended");
}

void PlayStep(void* user) {
  WebPlayer& player = *static_cast<WebPlayer*>(user);
  if (EndAskedByEscape(player)) {
    EndPlayer(player);
    return;
  }
  gYieldOnPresent = gDemoManager.State() == DEMO_STATE_LOAD;
  bool goesOn = player.engine.RunFrame();
  gYieldOnPresent = false;
  if (!player.playing && gDemoManager.State() == DEMO_STATE_PLAY) {
    player.playing = true;
    platform::ReportPageState("playing");
  }
  if (!goesOn) EndPlayer(player);
}

bool StartEngine(WebPlayer& player, const WebArguments& arguments) {
  EngineOptions options;
  options.playerWindow = false;
  options.packPath = PACK_PATH;
  options.frame = arguments.frame;
  options.presenter = PresentToPage;
  options.playerTimeline = !arguments.at.has_value();
  std::string error;
  gYieldOnPresent = true;
  bool started = player.engine.Start(std::move(options), error);
  gYieldOnPresent = false;
  if (!started) Fail(error.c_str());
  return started;
}

}  // namespace

int main(int argc, char** argv) {
  SetAlertPresenter(ShowAlertOnPage);
  WebArguments arguments;
  std::string error;
  if (!ParseWebArguments(argc, argv, arguments, error)) {
    Fail(error.c_str());
    return 1;
  }
  bool paused = arguments.at.has_value();
  if (!platform::CreateCanvasContext(arguments.frame.width, arguments.frame.height, paused)) {
    Fail(TEXT_NO_WEBGL2);
    return 1;
  }
  if (!arguments.frame.lowQuality && !platform::CanvasHasFloatTargets()) {
    Fail(TEXT_NO_FLOAT_TARGETS);
    return 1;
  }
  SoundPlayer::StreamFromMainLoop(true);
  // The player lives as long as the page: the browser calls its frames after main has returned.
  gPlayer = new WebPlayer;
  platform::ReportPageState("loading");
  if (!StartEngine(*gPlayer, arguments)) return 1;
  if (paused) {
    gPlayer->engine.ComposeFrameAt(*arguments.at);
    gPlayer->engine.ReplayCommands();
    platform::ReportPageState("frame");
    return 0;
  }
  platform::RunBrowserTimer([](void*) { SoundPlayer::PumpStreams(); }, nullptr, STREAM_PUMP_MS);
  platform::RunBrowserLoop(PlayStep, gPlayer);
  return 0;
}
