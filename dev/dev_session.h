#pragma once
// One run of the developer mode: the production loaded behind a resizable window without the
// launcher, the transport with the music following the playhead, the keys, the control channel,
// live reload of the content folder, and every frame composed off screen at the playhead and
// shown in the window.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "demo/engine_session.h"
#include "dev/dev_keys.h"
#include "dev/control_server.h"
#include "dev/dev_interface.h"
#include "dev/dev_options.h"
#include "render/frame_output.h"
#include "render/gpu_pass_timer.h"
#include "dev/live_reload.h"
#include "dev/music_waveform.h"
#include "dev/timeline_snapshot.h"
#include "dev/sync_editor_client.h"
#include "dev/track_editor.h"
#include "dev/transport.h"

class CWindowGL;
class SoundPlayerTransport;
namespace platform {
struct Event;
}

// The file name a screenshot at demo time t gets: the name `torvane-tool render` gives that frame.
std::string ScreenshotName(uint32_t t);

class DevSession {
 public:
  DevSession();
  ~DevSession();
  DevSession(const DevSession&) = delete;
  DevSession& operator=(const DevSession&) = delete;

  // Opens the window, starts the engine without the launcher, loads the production and opens the
  // music (a production without playable music runs on the timer). False with the reason in error.
  bool Start(const DevOptions& options, std::string& error);
  // One turn of the loop: events, then one frame. False once the author has quit.
  bool Step();
  void Stop();

  Transport& GetTransport() { return *mTransport; }
  TrackEditor& Tracks() { return mTrackEditor; }
  const TimelineSnapshot& Timeline() const { return mTimeline; }
  // Writes the next composed frame (without the interface) as a PNG to path; done is told whether
  // that worked, after the frame.
  void RequestScreenshot(const std::string& path, std::function<void(bool written, const std::string& error)> done);
  void RequestQuit() { mQuit = true; }
  // Loads the pack entry name again (a "/" counts as "\\"), or everything when name is empty;
  // false with the reason in error when there is no such entry.
  bool Reload(const std::string& name, ReloadReport& report, std::string& error);
  size_t ReloadCount() const { return mReload.Count(); }
  // The last reload's warnings and errors (an effect that did not build, a half-written save).
  const std::vector<std::string>& ReloadErrors() const { return mReload.LastReport().errors; }
  // Processing time of the last frame in ms.
  float FrameTime() const { return mFrameTime; }
  // F1: the interface over the picture, or the picture alone (the player's).
  void SetInterfaceShown(bool shown) { mInterfaceShown = shown; }
  bool InterfaceShown() const { return mInterfaceShown && mInterface.IsStarted(); }

 private:
  bool OpenWindow(std::string& error);
  void OpenMusic();
  bool PumpEvents();
  void Apply(DevAction action);
  void RefreshTimeline();
  void AfterReload(const ReloadReport& report);
  void RenderFrame(uint32_t t);
  void ConnectSyncEditor();
  // The tracks a sync editor is asked for: those the constants name, then the file's others.
  std::vector<std::string> SyncTrackNames() const;
  void WriteScreenshots(uint32_t t);
  std::string ScreenshotFolder() const;

  struct Screenshot {
    std::string path;
    std::function<void(bool, const std::string&)> done;
  };

  DevOptions mOptions;
  std::unique_ptr<CWindowGL> mWindow;
  EngineSession mEngine;
  std::unique_ptr<SoundPlayerTransport> mMusic;
  std::unique_ptr<Transport> mTransport;
  MusicWaveform mWaveform;  // for the tracks panel, decoded beside the frames
  FrameOutput mOutput;
  DevInterface mInterface;
  GpuPassTimer mPassTimer;
  LiveReload mReload;
  std::shared_ptr<const files::ContentFolder> mContent;  // null without --content
  ControlServer mControl{*this};
  TrackEditor mTrackEditor;
  std::unique_ptr<SyncEditorClient> mSyncEditor;
  TimelineSnapshot mTimeline;
  std::vector<uint32_t> mBoundaries;
  std::vector<Screenshot> mScreenshots;
  bool mQuit = false;
  bool mInterfaceShown = true;
  float mFrameTime = 0.0f;
};

// torvane --dev ARGS: runs the developer mode; 0 when the author quit, 1 when it could not start,
// 2 for a bad command line.
int RunDevMode(const std::vector<std::string>& args);
