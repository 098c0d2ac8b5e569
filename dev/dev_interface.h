#pragma once
// The developer mode's interface, drawn with Dear ImGui over the picture: the timeline with the
// transport, the post-effect chain, the buffers, the frame statistics and the log.

#include <memory>

#include "dev/buffer_panel.h"
#include "render/frame_output.h"
#include "render/gpu_pass_timer.h"
#include "dev/stats_panel.h"
#include "dev/tracks_panel.h"
#include "dev/timeline_snapshot.h"
#include "dev/transport.h"

class LogPanel;
class MusicWaveform;
class TrackEditor;
namespace platform {
struct GLContext;
struct Window;
}  // namespace platform

class DevInterface {
 public:
  DevInterface();
  ~DevInterface();
  DevInterface(const DevInterface&) = delete;
  DevInterface& operator=(const DevInterface&) = delete;

  // False when ImGui's backends do not start (the developer mode then runs without them).
  bool Start(platform::Window* window, platform::GLContext* context);
  void Stop();
  bool IsStarted() const { return mStarted; }

  // Whether a field of the interface has the keyboard: keys are then typed, not obeyed.
  bool WantsKeyboard() const;
  // Whether the tracks panel has the keyboard: the arrows are its cursor's, not the playhead's.
  bool TracksHaveKeyboard() const { return mStarted && mTracks.HasFocus(); }
  void AddFrame(float frameMs) { mStats.AddFrame(frameMs); }
  // Draws every panel into the window, of windowWidth × windowHeight, where picture is the
  // composed frame's place.
  void Draw(Transport& transport, TrackEditor& tracks, const MusicWaveform& waveform, const TimelineSnapshot& timeline,
            const GpuPassTimer& timer, const FrameOutput::Placement& picture, int windowWidth, int windowHeight);

 private:
  bool mStarted = false;
  std::unique_ptr<LogPanel> mLog;
  StatsPanel mStats;
  BufferPanel mBuffers;
  TracksPanel mTracks;
  int mLaidOutWidth = 0;  // the window size the panels were last placed for
  int mLaidOutHeight = 0;
};
