#pragma once
// The one host of the engine. The player, the headless demo (render, capture, check) and the
// developer mode each configure it and then drive frames; it starts the registry's managers in
// their priorities, opens the production, gives the timeline its clock, and stops everything in
// the reverse order.
//
// With the player's window (the default), every manager takes part: systemManager opens the pack
// and the window, the launcher fills the settings, demoManager opens the music and runs the
// player's clock (music_demo_clock.h). Without it, the front end has made its GL context first;
// the two managers that own the window and the launcher stay out, and the host opens the pack,
// fills the settings for the frame and gives demoManager the clock the front end chose.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "demo/demo_clock.h"
#include "demo/frame_composer.h"
#include "files/entry_source.h"

class InterfaceBase;
struct SettingsRecord;

struct EngineOptions {
  // The player's window, launcher and music; the other fields only count without them.
  bool playerWindow = true;
  std::string packPath;              // opened by the host; empty: none (a content folder alone)
  files::EntrySourceStack entrySources;  // where files come from; empty: the pack alone
  FrameConfig frame;                 // what the launcher would have chosen
  std::unique_ptr<DemoClock> clock;  // the timeline's clock (the fixed step at 0 fps when null)
  // Without the player's window, the player's timeline all the same: demoManager opens the music
  // and runs the player's clock, and RunFrame loads behind the loading screen and plays. For a
  // front end that shows the frames itself (the browser page); clock is then not used.
  bool playerTimeline = false;
  // Called where a frame would be presented; null leaves the window's own.
  void (*presenter)() = nullptr;
  // Runs after the managers have started and before the production loads: where the front end
  // makes the target its frames go to.
  std::function<void()> beforeLoading;
};

// The settings record the launcher would have filled for a frame of this size, FSAA and aspect.
SettingsRecord SettingsForFrame(const FrameConfig& frame);

// The managers that run without the player's window and launcher (systemManager and
// settingsManager are left out).
bool TakesPartWithoutLauncher(const InterfaceBase& manager);

class EngineSession {
 public:
  EngineSession() = default;
  ~EngineSession();
  EngineSession(const EngineSession&) = delete;
  EngineSession& operator=(const EngineSession&) = delete;

  // Starts the managers and, without the player's window, loads the production (a broken pack
  // ends the process with its critical message). False when a manager did not start: without the
  // player's window everything started is stopped again and error says so; the player leaves the
  // ending to its caller, as its status depends on what failed.
  bool Start(EngineOptions options, std::string& error);
  // Stops the managers in the reverse order and closes what Start opened. Harmless when not started.
  void Stop();
  bool IsStarted() const { return mStarted; }
  const EngineOptions& Options() const { return mOptions; }

  // The player's frame: the frame step's hooks in their order. False once the demo is over.
  bool RunFrame();
  // The timeline's drawing at demo time t, at the frame's size, into the composition's output.
  void ComposeFrameAt(uint32_t t);
  // Replays the commands the frame recorded into the framebuffer bound now.
  void ReplayCommands();

 private:
  EngineOptions mOptions;
  bool mStarted = false;
  bool mPackOpened = false;
  bool mSourcesSet = false;  // the player's entry sources go back at the stop
};
