#include "demo/engine_session.h"

#include "core/frame_step.h"
#include "core/manager.h"
#include "demo/demo_manager.h"
#include "demo/fixed_step_demo_clock.h"
#include "files/pack_file.h"
#include "render/renderer_manager.h"
#include "render/screen_pass.h"
#include "resources/custom_texture_manager.h"
#include "shell/settings_manager.h"
#include "shell/system_manager.h"

SettingsRecord SettingsForFrame(const FrameConfig& frame) {
  SettingsRecord settings;
  settings.mWidth = frame.width;
  settings.mHeight = frame.height;
  settings.mAspectWidth = frame.aspectWidth;
  settings.mAspectHeight = frame.aspectHeight;
  settings.mMultisample = frame.fsaaLevel;
  settings.mLowQuality = frame.lowQuality;
  settings.mLoop = frame.loop;
  settings.mResolutions.push_back({frame.width, frame.height});
  return settings;
}

bool TakesPartWithoutLauncher(const InterfaceBase& manager) {
  return &manager != &gSystemManager && &manager != &gSettingsManager;
}

EngineSession::~EngineSession() { Stop(); }

bool EngineSession::Start(EngineOptions options, std::string& error) {
  Stop();
  mOptions = std::move(options);
  if (mOptions.playerWindow) {
    mStarted = InitializeAll();
    if (!mStarted) error = "the player did not start";
    return mStarted;
  }
  const FrameConfig& frame = mOptions.frame;
  if (!mOptions.packPath.empty()) {
    OpenPackage(mOptions.packPath.c_str());
    mPackOpened = true;
  }
  if (!mOptions.entrySources.empty()) {
    files::SetEntrySources(std::move(mOptions.entrySources));
    mSourcesSet = true;
  }
  gSettingsManager.SetSettings(SettingsForFrame(frame));
  if (mOptions.presenter) gRendererManager.SetPresenter(mOptions.presenter);
  gRendererManager.SetScreenSize(static_cast<uint16_t>(frame.width), static_cast<uint16_t>(frame.height));
  if (!mOptions.playerTimeline) {
    gDemoManager.UseClockWithoutMusic(mOptions.clock ? std::move(mOptions.clock) : std::make_unique<FixedStepDemoClock>(0));
  }
  gDemoManager.ComposeEveryPass(frame.everyPass);
  mStarted = true;
  if (!InitializeAll(TheManagerList(), TakesPartWithoutLauncher)) {
    error = "the managers did not start";
    Stop();
    return false;
  }
  SetViewport(frame.width, frame.height);
  if (mOptions.beforeLoading) mOptions.beforeLoading();
  if (!mOptions.playerTimeline) gDemoManager.LoadDemo();
  return true;
}

void EngineSession::Stop() {
  if (!mStarted) return;
  mStarted = false;
  if (mOptions.playerWindow) {
    TerminateAll();
    return;
  }
  // The player leaves its custom textures to the end of the process; a session without its
  // window may be started again in the same process, so it gives them back first.
  gCustomTextureManager.Clear();
  TerminateAll(TheManagerList(), TakesPartWithoutLauncher);
  if (mOptions.presenter) gRendererManager.SetPresenter(nullptr);
  if (mPackOpened) ClosePackage();
  mPackOpened = false;
  if (mSourcesSet) files::SetEntrySources(files::PlayerEntrySources());
  mSourcesSet = false;
}

bool EngineSession::RunFrame() { return ::RunFrame(); }

void EngineSession::ComposeFrameAt(uint32_t t) {
  SetViewport(mOptions.frame.width, mOptions.frame.height);
  gDemoManager.ComposeFrameAt(t);
}

void EngineSession::ReplayCommands() { gRendererManager.FrameUpdate(); }
