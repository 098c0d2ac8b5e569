#pragma once
// demoManager plays the demo: it loads the timeline behind the loading screen, fades in, starts
// the music and then composes one frame per frame step at the demo time of its clock, until the
// music ends or the Escape fade is over.
//
// States: 0 clear the scene table; 1 load everything (one frame); 2 fade from the loading screen
// (1800 ms); 3 restart the music and the clock; 4 play. The Escape fade overlays any state.
//
// Started without window or music (UseClockWithoutMusic before the managers start) it serves the
// headless renderer and video capture: the caller then loads once and composes frames at the
// times it chooses.

#include <cstdint>
#include <memory>
#include <vector>

#include "core/manager.h"
#include "demo/demo_clock.h"
#include "demo/music_transport.h"
#include "demo/escape_fade.h"
#include "demo/frame_composer.h"
#include "demo/production_tracks.h"
#include "demo/scene_line_table.h"
#include "production/timeline_definitions.h"

class cDemoScene;
class LoadingScreen;
class resShader;

enum DemoState : uint32_t {
  DEMO_STATE_CLEAR = 0,
  DEMO_STATE_LOAD = 1,
  DEMO_STATE_FADE_IN = 2,
  DEMO_STATE_START = 3,
  DEMO_STATE_PLAY = 4,
};

inline constexpr uint32_t LOADING_FADE_UNIT_MS = 1500;
inline constexpr float LOADING_FADE_END = 1.2f;
inline constexpr float BIG_SCREEN_GAMMA = 1.2f;

class demoManager : public Interface<demoManager> {
  CORE_DECLARE_MANAGER(demoManager)
  demoManager();
  ~demoManager() override;
  uint16_t GetPriority() const override { return 256; }
  // Installs the input listeners, opens the music (unless a clock without music was given) and
  // creates the frame composition's buffers and core effects. False (the program ends) when the
  // music cannot be opened.
  bool Initialize() override;
  // Destroys the scenes with their effects and the frame composition's resources.
  bool Terminate() override;
  // One step of the state machine; false ends the program.
  bool FrameUpdate() override;

  // The next Initialize opens no music and reads demo time from clock.
  void UseClockWithoutMusic(std::unique_ptr<DemoClock> clock) { mClockWithoutMusic = std::move(clock); }
  // The next Initialize composes with every buffer and pass (FrameConfig::everyPass): the
  // reference that tools and tests compare the player's frames with.
  void ComposeEveryPass(bool everyPass) { mEveryPass = everyPass; }
  // From now on the timeline plays against music and timer instead of the sound player and the
  // platform timer (after Initialize, which goes back to those): the fades and the demo clock
  // read timer, and demo time runs while music plays.
  void UseMusic(std::unique_ptr<MusicTransport> music, DemoTimer timer);
  // The work of the loading state: definitions, loading screen, preloads, the scene table.
  void LoadDemo();
  // Reads the definitions again and rebuilds the scenes and the scene table, without a loading
  // screen (the developer mode's live reload). Resources nobody else holds are loaded anew.
  void ReloadTimeline();
  // The drawing of the playing state at demo time t.
  void ComposeFrameAt(uint32_t t);
  // Advances the demo clock and returns the demo time in milliseconds.
  uint32_t GetDemoTime();

  uint32_t State() const { return mState; }
  // Frames composed since the start: the playing state composes one per frame step.
  uint64_t ComposedFrames() const { return mComposedFrames; }
  const std::vector<SceneLineEntry>& SceneLines() const { return mSceneLines; }
  const std::vector<TdfEntry>& TdfEntries() const { return mTdfEntries; }
  const SceneLineTable& LineTable() const { return mLineTable; }
  // The scene made for scene line entry, or null (no animation entry, or no room in its line).
  const cDemoScene* SceneOf(size_t entry) const { return entry < mScenes.size() ? mScenes[entry].get() : nullptr; }
  FrameComposer& Composer() { return mComposer; }
  ProductionTracks& Tracks() { return mTracks; }
  // Whether the last Initialize failed because the music could not be played.
  bool MusicFailed() const { return mMusicFailed; }

 private:
  bool OpenMusic();
  void CloseMusic();
  FrameConfig ConfigFromSettings() const;
  void LoadDefinitions();
  void LoadSceneAnimations();
  void ReleaseSceneLineShaders();
  void DestroySceneTable();
  void BuildSceneTable();
  void DrawScene(int entry, float phase);
  bool FadeInStep();
  bool PlayStep();
  // The Escape fade; false once it is over.
  bool EscapeStep();
  bool MusicIsPlaying() const;

  uint32_t mState = DEMO_STATE_CLEAR;
  std::vector<SceneLineEntry> mSceneLines;
  std::vector<resShader*> mSceneLineShaders;  // per scene line, null for "default"
  std::vector<TdfEntry> mTdfEntries;
  SceneLineTable mLineTable;
  ProductionTracks mTracks;
  std::vector<std::unique_ptr<cDemoScene>> mScenes;  // per scene line, null where none
  std::vector<resShader*> mSceneShaders;             // beside each scene, null for "default"
  LoadingScreen* mLoadingScreen = nullptr;           // owned by the resource manager
  std::unique_ptr<MusicTransport> mMusic;  // null without music
  DemoTimer mTimer;
  std::unique_ptr<DemoClock> mClock;
  std::unique_ptr<DemoClock> mClockWithoutMusic;
  FrameComposer mComposer;
  EscapeFade mEscapeFade;
  bool mEveryPass = false;
  bool mMusicFailed = false;
  uint64_t mComposedFrames = 0;
  bool mFadeInStarted = false;
  uint32_t mFadeInStart = 0;
};
CORE_DECLARE_MANAGER_RECORD(demoManager);

extern demoManager gDemoManager;
