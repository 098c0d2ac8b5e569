#include "demo/demo_manager.h"

#include <algorithm>

#include "demo/escape_fade_overlay.h"
#include "demo/loading_screen.h"
#include "demo/music_demo_clock.h"
#include "demo/screen_buffer_use.h"
#include "files/tdf_document.h"
#include "platform/timer.h"
#include "production/production_report.h"
#include "render/immediate_draw.h"
#include "render/matrix_stack.h"
#include "render/screen_pass.h"
#include "resources/custom_texture_manager.h"
#include "resources/post_effect_manager.h"
#include "resources/res_shader.h"
#include "resources/resource_manager.h"
#include "scene/demo_scene.h"
#include "shell/settings_manager.h"
#include "shell/system_manager.h"
#include "sound/sound_player.h"
#include "window/window_gl.h"

CORE_IMPLEMENT_MANAGER(demoManager)

namespace {

resShader* GetShader(const std::string& shaderName) {
  if (shaderName == DEFAULT_SHADER_NAME) return nullptr;
  return dynamic_cast<resShader*>(gResourceManager.GetResource(SceneLineShaderPath(shaderName).c_str()));
}

void ReleaseShaders(std::vector<resShader*>& shaders) {
  for (resShader* shader : shaders) {
    if (shader) shader->Release();
  }
  shaders.clear();
}

// A black quad over the unit square with the given opacity, drawn directly.
void DrawBlackOverlay(float opacity) {
  SelectMatrixStack(MatrixStack::Projection);
  LoadIdentityMatrix();
  MultiplyOrtho(0.0, 1.0, 0.0, 1.0, -10.0, 10.0);
  SelectMatrixStack(MatrixStack::Modelview);
  LoadIdentityMatrix();
  SetColour(0.0f, 0.0f, 0.0f, opacity);
  const float quad[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
  DrawPositionStrip(quad);
  SetColour(1.0f, 1.0f, 1.0f, 1.0f);
}

}  // namespace

demoManager::demoManager() = default;

demoManager::~demoManager() = default;

FrameConfig demoManager::ConfigFromSettings() const {
  FrameConfig config;
  config.width = static_cast<uint16_t>(gSettingsManager.GetWidth());
  config.height = static_cast<uint16_t>(gSettingsManager.GetHeight());
  config.fsaaLevel = gSettingsManager.GetMultisample();
  config.aspectWidth = gSettingsManager.GetAspectWidth();
  config.aspectHeight = gSettingsManager.GetAspectHeight();
  config.lowQuality = gSettingsManager.IsLowQuality();
  config.loop = gSettingsManager.IsLoop();
  config.everyPass = mEveryPass;
  return config;
}

bool demoManager::Initialize() {
  mState = DEMO_STATE_CLEAR;
  mFadeInStarted = false;
  mEscapeFade = EscapeFade();
  mComposedFrames = 0;
  mTimer = platform::TimeGetTime;
  mMusic.reset();
  auto nothing = [](void*, auto...) {};
  gSystemManager.SetKeyReleasedListener({this, nothing});
  gSystemManager.SetWheelListener({this, nothing});
  gSystemManager.SetMouseMovedListener({this, nothing});
  gSystemManager.SetButtonPressedListener({this, nothing});
  gSystemManager.SetButtonReleasedListener({this, nothing});
  if (mClockWithoutMusic) {
    mClock = std::move(mClockWithoutMusic);
  } else if (!OpenMusic()) {
    return false;
  }
  if (gSettingsManager.IsBigScreen() && gSettingsManager.IsFullscreen() && gSystemManager.GetWindow()) {
    gSystemManager.GetWindow()->SetGamma(BIG_SCREEN_GAMMA);
  }
  ReportMissingFilesBeforeTheyEndTheProcess();
  mComposer.Create(ConfigFromSettings());
  return true;
}

bool demoManager::OpenMusic() {
  mMusicFailed = false;
  auto music = std::make_unique<SoundPlayerTransport>();
  if (!music->Open(MUSIC_FILE_NAME)) {
    if (music->Failure()) RaiseAlert("sound", *music->Failure());
    music.reset();
    CloseMusic();
    mMusicFailed = true;
    return false;
  }
  mMusic = std::move(music);
  mClock = std::make_unique<MusicDemoClock>(mMusic.get(), mTimer);
  return true;
}

void demoManager::CloseMusic() {
  mClock.reset();
  mMusic.reset();
}

void demoManager::UseMusic(std::unique_ptr<MusicTransport> music, DemoTimer timer) {
  mMusic = std::move(music);
  mTimer = std::move(timer);
  mClock = std::make_unique<MusicDemoClock>(mMusic.get(), mTimer);
}

bool demoManager::Terminate() {
  RemoveMissingFileReport();
  DestroySceneTable();
  ReleaseSceneLineShaders();
  mComposer.Destroy();
  return true;
}

bool demoManager::MusicIsPlaying() const { return mMusic && mMusic->IsPlaying(); }

uint32_t demoManager::GetDemoTime() { return mClock ? mClock->Read() : 0; }

void demoManager::ReleaseSceneLineShaders() { ReleaseShaders(mSceneLineShaders); }

void demoManager::DestroySceneTable() {
  mScenes.clear();
  ReleaseShaders(mSceneShaders);
  mLineTable.Clear();
}

void demoManager::LoadDefinitions() {
  gPostEffectManager.loadDefinitions();
  gCustomTextureManager.loadDefinitions();
  ReleaseSceneLineShaders();
  LoadSceneLineDefinitions(mSceneLines);
  for (const SceneLineEntry& line : mSceneLines) mSceneLineShaders.push_back(GetShader(line.shaderName));
  LoadTdfDefinitions(mSceneLines, mTdfEntries);
}

void demoManager::LoadSceneAnimations() {
  for (const TdfEntry& entry : mTdfEntries) gResourceManager.AddPreload(entry.path.c_str());
  gResourceManager.ComputeProgressStep(CountModelReferences);
  gResourceManager.LoadPreloads();
  BuildSceneTable();
  mComposer.UseBuffers(DecideScreenBufferUse(mLineTable, gPostEffectManager.Entries()));
}

void demoManager::LoadDemo() {
  LoadDefinitions();
  // Not with the other definitions: a timeline rebuilt in the developer mode keeps the tracks
  // being edited.
  mTracks.Load();
  auto loadingScreen = std::make_unique<LoadingScreen>();
  mLoadingScreen = loadingScreen.get();
  gResourceManager.SetLoadingScene(std::move(loadingScreen));
  LoadSceneAnimations();
}

void demoManager::ReloadTimeline() {
  // The scenes go first: while they hold their animations, preloading would find the old ones.
  DestroySceneTable();
  mLoadingScreen = nullptr;
  gResourceManager.SetLoadingScene(nullptr);
  gResourceManager.ClearPreloads();
  LoadDefinitions();
  LoadSceneAnimations();
}

void demoManager::BuildSceneTable() {
  DestroySceneTable();
  bool explained = false;
  for (size_t i = 0; i < mSceneLines.size(); ++i) {
    const SceneLineEntry& line = mSceneLines[i];
    const TdfEntry* animation = FindTdfEntry(mTdfEntries, line.tdfId);
    // A line left empty plays on silently; its author needs to know why.
    if (!animation && !explained) {
      LogProductionReferenceFindings();
      explained = true;
    }
    if (!animation || !mLineTable.HasRoom(line.line)) {
      mScenes.push_back(nullptr);
      mSceneShaders.push_back(nullptr);
      continue;
    }
    auto scene = std::make_unique<cDemoScene>(animation->path, line.shaderName, line.line,
                                              static_cast<int32_t>(line.startTime), static_cast<int32_t>(line.endTime),
                                              line.rangeStart, line.rangeEnd);
    mLineTable.Add(line.line, line.startTime, line.endTime, static_cast<int>(i), scene->DrawsAtEveryPhase());
    mScenes.push_back(std::move(scene));
    mSceneShaders.push_back(GetShader(line.shaderName));
  }
}

void demoManager::DrawScene(int entry, float phase) {
  if (entry >= 0 && static_cast<size_t>(entry) < mScenes.size() && mScenes[entry]) mScenes[entry]->DrawPhase(phase);
}

void demoManager::ComposeFrameAt(uint32_t t) {
  ++mComposedFrames;
  const SyncDocument* tracks = mTracks.Active();
  gPostEffectManager.UseTracks(tracks, tracks ? SyncRowAt(*tracks, t) : 0.0);
  mComposer.ComposeFrame(t, mLineTable, [this](int entry, float phase) { DrawScene(entry, phase); });
}

bool demoManager::FadeInStep() {
  uint32_t now = mTimer();
  if (!mFadeInStarted) {
    mFadeInStarted = true;
    mFadeInStart = now;
  }
  float r = static_cast<float>(now - mFadeInStart) / static_cast<float>(LOADING_FADE_UNIT_MS);
  if (r > LOADING_FADE_END) return false;
  ClearColourAndDepth();
  if (mLoadingScreen) mLoadingScreen->Draw(1.0f);
  DrawBlackOverlay(std::min(r, 1.0f));
  return true;
}

bool demoManager::PlayStep() {
  uint32_t t = GetDemoTime();
  ComposeFrameAt(t);
  return MusicIsPlaying();
}

bool demoManager::EscapeStep() {
  EscapeFadeStep step = mEscapeFade.Step(mTimer());
  if (!step.goOn) return false;
  if (mMusic) mMusic->SetVolume(step.volume);
  RecordEscapeFadeOverlay(step.blackOpacity);
  return true;
}

bool demoManager::FrameUpdate() {
  switch (mState) {
    case DEMO_STATE_CLEAR:
      DestroySceneTable();
      mState = DEMO_STATE_LOAD;
      break;
    case DEMO_STATE_LOAD:
      LoadDemo();
      mState = DEMO_STATE_FADE_IN;
      break;
    case DEMO_STATE_FADE_IN:
      if (!FadeInStep()) mState = DEMO_STATE_START;
      break;
    case DEMO_STATE_START:
    case DEMO_STATE_PLAY:
      if (mState == DEMO_STATE_START) {
        if (mMusic) mMusic->Play();
        if (mClock) mClock->Restart();
        mState = DEMO_STATE_PLAY;
      }
      if (!PlayStep()) {
        if (!gSettingsManager.IsLoop()) return false;
        mState = DEMO_STATE_START;
      }
      break;
  }
  if (gSystemManager.IsEscapePressed() && !EscapeStep()) return false;
  return true;
}
