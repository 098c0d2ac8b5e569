#include "dev/dev_session.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/flag_manager.h"
#include "core/log.h"
#include "core/profile_manager.h"
#include "demo/demo_manager.h"
#include "demo/music_transport.h"
#include "files/content_folder_source.h"
#include "files/missing_entry_policy.h"
#include "dev/panel_layout.h"
#include "files/content_folder.h"
#include "files/output_file.h"
#include "files/pack_entry_source.h"
#include "files/pack_file.h"
#include "platform/display.h"
#include "platform/events.h"
#include "platform/gl_context.h"
#include "platform/key_codes.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "render/renderer_manager.h"
#include "render/screen_pass.h"
#include "render/texture_png_writer.h"
#include "resources/post_effect_manager.h"
#include "window/window_gl.h"

namespace fs = std::filesystem;

namespace {

constexpr char DEV_WINDOW_TITLE[] = "Torvane (developer mode)";
constexpr int64_t SEEK_SHORT_MS = 1000;
constexpr int64_t SEEK_LONG_MS = 10000;

// The part of the window the picture has while the interface is shown: the rest is the panels'.
FrameOutput::Placement PictureArea(int windowWidth, int windowHeight) {
  const PanelRect area = LayOutDevPanels(windowWidth, windowHeight).picture;
  return {static_cast<int>(area.x), static_cast<int>(area.y), static_cast<int>(area.width), static_cast<int>(area.height)};
}

}  // namespace

std::string ScreenshotName(uint32_t t) {
  char name[32];
  std::snprintf(name, sizeof name, "frame_%08u.png", t);
  return name;
}

DevSession::DevSession() : mTrackEditor(gDemoManager.Tracks()) {}

DevSession::~DevSession() { Stop(); }

bool DevSession::Start(const DevOptions& options, std::string& error) {
  mOptions = options;
  if (!mOptions.contentPath.empty()) {
    if (!fs::is_directory(mOptions.contentPath)) {
      error = "no content folder at " + mOptions.contentPath;
      return false;
    }
    mContent = std::make_shared<const files::ContentFolder>(fs::absolute(mOptions.contentPath));
    mTrackEditor.SetContentFolder(mContent->Root());
  }
  if (!mOptions.packPath.empty()) {
    if (!fs::is_regular_file(mOptions.packPath)) {
      error = "no pack at " + mOptions.packPath;
      return false;
    }
  }
  gRendererManager.CheckOpenGL();
  if (!OpenWindow(error)) return false;
  EngineOptions engine;
  engine.playerWindow = false;
  engine.packPath = mOptions.packPath;
  engine.frame = mOptions.frame;
  // The content folder over the pack; what neither holds is named and read as nothing.
  engine.entrySources = {std::make_shared<files::EmptyWhenMissing>(files::EmptyWhenMissing::Report::Logged),
                         std::make_shared<files::PackEntrySource>()};
  if (mContent) engine.entrySources.push_back(std::make_shared<files::ContentFolderSource>(mContent));
  if (!mEngine.Start(std::move(engine), error)) {
    error = "the engine did not start";
    return false;
  }
  mOutput.Create(mOptions.frame.width, mOptions.frame.height);
  gDemoManager.Composer().SetOutputFramebuffer(mOutput.Framebuffer());

  OpenMusic();
  mTransport = std::make_unique<Transport>(mMusic.get(), platform::TimeGetTime);
  RefreshTimeline();
  if (!mOptions.contentPath.empty()) {
    std::string watchError;
    if (!mReload.Watch(mContent, watchError)) Log(LogLevel::Warning, "dev", "no live reload: %s", watchError.c_str());
  }
  if (!mOptions.controlPath.empty() && !mControl.Listen(mOptions.controlPath, error)) return false;
  if (!mOptions.syncEditor.empty()) ConnectSyncEditor();
  if (mOptions.play) mTransport->Play();
  return true;
}

void DevSession::ConnectSyncEditor() {
  std::string host;
  uint16_t port = 0;
  ParseSyncEditorAddress(mOptions.syncEditor, host, port);
  SyncEditorHooks hooks;
  hooks.trackNames = [this] { return SyncTrackNames(); };
  hooks.setKey = [this](const std::string& track, const SyncKey& key) { mTrackEditor.SetKey(track, key, TrackEditSource::Editor); };
  hooks.deleteKey = [this](const std::string& track, uint32_t row) { mTrackEditor.DeleteKey(track, row, TrackEditSource::Editor); };
  hooks.seekRow = [this](uint32_t row) { mTransport->Seek(SyncTimeOfRow(mTrackEditor.Document(), row)); };
  hooks.pause = [this](bool paused) { paused ? mTransport->Pause() : mTransport->Play(); };
  hooks.save = [this] {
    std::string error;
    if (!mTrackEditor.Save(error)) Log(LogLevel::Error, "sync", "tracks not saved: %s", error.c_str());
  };
  mSyncEditor = std::make_unique<SyncEditorClient>(host, port, std::move(hooks));
}

std::vector<std::string> DevSession::SyncTrackNames() const {
  std::vector<std::string> names = BoundTrackNames(gPostEffectManager.Entries());
  for (const SyncTrack& track : mTrackEditor.Document().tracks) {
    if (std::find(names.begin(), names.end(), track.name) == names.end()) names.push_back(track.name);
  }
  return names;
}

// A production without playable music runs on the timer.
void DevSession::OpenMusic() {
  mMusic = std::make_unique<SoundPlayerTransport>();
  if (mMusic->Open(mOptions.musicPath)) {
    mWaveform.Start(mOptions.musicPath);
    return;
  }
  // The player's notice goes on to say the demo cannot start, which is not so here.
  const std::string reason = mMusic->Failure() ? mMusic->Failure()->text.substr(0, mMusic->Failure()->text.find('\n'))
                                               : "the music cannot be played";
  Log(LogLevel::Warning, "dev", "no music (%s): the playhead runs on the timer", reason.c_str());
  mMusic.reset();
}

bool DevSession::OpenWindow(std::string& error) {
  const FrameConfig& frame = mOptions.frame;
  mWindow = std::make_unique<CWindowGL>();
  int desktopWidth = frame.width;
  int desktopHeight = frame.height;
  platform::DesktopSize(&desktopWidth, &desktopHeight);
  int x = std::max(0, (desktopWidth - frame.width) / 2);
  int y = std::max(0, (desktopHeight - frame.height) / 2);
  if (!mWindow->Create(DEV_WINDOW_TITLE, platform::WINDOW_STYLE_RESIZABLE, x, y, frame.width, frame.height) ||
      !mWindow->CreateContext() || !mWindow->MakeCurrent()) {
    error = std::string("no window with an OpenGL context: ") + platform::LastWindowError();
    mWindow.reset();
    return false;
  }
  platform::SetSwapInterval(0);
  platform::ShowWindow(mWindow->GetPlatformWindow());
  if (!mInterface.Start(mWindow->GetPlatformWindow(), mWindow->GetContext())) {
    Log(LogLevel::Warning, "dev", "the interface cannot be drawn: the picture is shown alone");
  }
  return true;
}

void DevSession::Stop() {
  for (const Screenshot& shot : mScreenshots) {
    if (shot.done) shot.done(false, "the developer mode has quit");
  }
  mScreenshots.clear();
  mControl.Close();
  if (mEngine.IsStarted()) {
    gDemoManager.Composer().SetPassObserver(nullptr);
    mInterface.Stop();
    mOutput.Destroy();
    mEngine.Stop();
  }
  mInterface.Stop();
  mTransport.reset();
  mMusic.reset();
  mWindow.reset();
  mContent.reset();
}

void DevSession::RefreshTimeline() {
  mTimeline = SnapshotTimeline();
  mBoundaries = TimelineBoundaries(mTimeline);
  uint32_t musicLength = mMusic ? mMusic->LengthMs() : 0;
  mTransport->SetLength(std::max(mTimeline.end, musicLength));
}

bool DevSession::Step() {
  if (!PumpEvents()) return false;
  mControl.Poll();
  if (mReload.Poll(platform::TimeGetTime())) AfterReload(mReload.LastReport());
  uint32_t t = mTransport->Update();
  mTrackEditor.Poll(platform::TimeGetTime());
  if (mSyncEditor) {
    mSyncEditor->Poll(platform::TimeGetTime(), static_cast<uint32_t>(SyncRowAt(mTrackEditor.Document(), t)));
  }
  RenderFrame(t);
  return !mQuit;
}

bool DevSession::PumpEvents() {
  platform::Event event;
  while (platform::PollEvent(&event)) {
    using platform::EventType;
    if (event.type == EventType::Quit) return false;
    if (event.type == EventType::SysKeyDown && event.key == platform::KEY_F4) return false;
    if (event.type != EventType::KeyDown) continue;
    DevAction action = DevActionForKey(event.key, event.shift);
    // Keys typed into the interface's fields are not commands, except the one that hides it.
    if (action != DevAction::ToggleInterface && InterfaceShown() && mInterface.WantsKeyboard()) continue;
    if (InterfaceShown() && mInterface.TracksHaveKeyboard() && IsArrowSeek(action)) continue;
    Apply(action);
  }
  return true;
}

void DevSession::Apply(DevAction action) {
  Transport& transport = *mTransport;
  switch (action) {
    case DevAction::None: break;
    case DevAction::TogglePlay: transport.TogglePlay(); break;
    case DevAction::SeekBackSecond: transport.SeekBy(-SEEK_SHORT_MS); break;
    case DevAction::SeekForwardSecond: transport.SeekBy(SEEK_SHORT_MS); break;
    case DevAction::SeekBackTen: transport.SeekBy(-SEEK_LONG_MS); break;
    case DevAction::SeekForwardTen: transport.SeekBy(SEEK_LONG_MS); break;
    case DevAction::PreviousBoundary: transport.Seek(PreviousBoundary(mBoundaries, transport.Time())); break;
    case DevAction::NextBoundary: transport.Seek(NextBoundary(mBoundaries, transport.Time(), transport.Length())); break;
    case DevAction::SeekStart: transport.Seek(0); break;
    case DevAction::LoopIn: transport.MarkLoopIn(); break;
    case DevAction::LoopOut: transport.MarkLoopOut(); break;
    case DevAction::ToggleLoop: transport.ToggleLoop(); break;
    case DevAction::ToggleMute: transport.ToggleMute(); break;
    case DevAction::ToggleHalfSpeed:
      transport.SetSpeed(transport.Speed() == PlaybackSpeed::Half ? PlaybackSpeed::Normal : PlaybackSpeed::Half);
      break;
    case DevAction::ToggleInterface: mInterfaceShown = !mInterfaceShown; break;
    case DevAction::Screenshot:
      RequestScreenshot((fs::path(ScreenshotFolder()) / ScreenshotName(transport.Time())).string(), nullptr);
      break;
    case DevAction::ReloadAll: AfterReload(mReload.Reload({})); break;
  }
}

bool DevSession::Reload(const std::string& name, ReloadReport& report, std::string& error) {
  std::string entry = name;
  for (char& c : entry) {
    if (c == '/') c = '\\';
  }
  if (!entry.empty() && !EntryExists(entry.c_str())) {
    error = "no entry " + entry + " in the pack or the content folder";
    return false;
  }
  report = mReload.Reload(entry.empty() ? std::vector<std::string>{} : std::vector<std::string>{entry});
  AfterReload(report);
  return true;
}

// The playhead, the pause state and the loop stay; the timeline's marks and length follow the
// definitions.
void DevSession::AfterReload(const ReloadReport& report) {
  if (report.timelineRebuilt) RefreshTimeline();
}

// Beside the content: the content folder, else the pack's folder.
std::string DevSession::ScreenshotFolder() const {
  if (!mOptions.contentPath.empty()) return mOptions.contentPath;
  fs::path folder = fs::path(mOptions.packPath).parent_path();
  return folder.empty() ? "." : folder.string();
}

void DevSession::RequestScreenshot(const std::string& path, std::function<void(bool, const std::string&)> done) {
  mScreenshots.push_back({path, std::move(done)});
}

void DevSession::RenderFrame(uint32_t t) {
  const FrameConfig& frame = mOptions.frame;
  bool interfaceShown = InterfaceShown();
  int width = 0;
  int height = 0;
  platform::GetWindowClientSize(mWindow->GetPlatformWindow(), &width, &height);
  // With nothing over the picture, nothing to read back and the window at the frame's size, the
  // frame takes the player's own path, straight into the window.
  bool direct = !interfaceShown && mScreenshots.empty() && width == frame.width && height == frame.height;
  // Passes are timed only for the interface.
  bool timed = interfaceShown && GpuPassTimer::Available();
  FrameComposer& composer = gDemoManager.Composer();
  composer.SetOutputFramebuffer(direct ? 0 : mOutput.Framebuffer());
  composer.SetPassObserver(timed ? &mPassTimer : nullptr);
  gProfileManager.FrameBegin();
  gFlagManager.FrameUpdate();
  gRendererManager.FrameBegin();
  mEngine.ComposeFrameAt(t);
  if (direct) {
    mEngine.ReplayCommands();
  } else {
    mOutput.Bind();
    mEngine.ReplayCommands();
    WriteScreenshots(t);
    if (interfaceShown) {
      mOutput.PresentInArea(width, height, PictureArea(width, height));
    } else {
      mOutput.Present(width, height);
    }
  }
  if (timed) mPassTimer.Collect();
  if (interfaceShown) {
    SetViewport(width, height);
    mInterface.AddFrame(mFrameTime);
    mInterface.Draw(*mTransport, mTrackEditor, mWaveform, mTimeline, mPassTimer,
                    mOutput.PlacementInArea(PictureArea(width, height)), width, height);
  }
  gProfileManager.FrameEnd();
  mFrameTime = gProfileManager.FrameTime();
  gRendererManager.FrameEnd();
}

void DevSession::WriteScreenshots(uint32_t t) {
  if (mScreenshots.empty()) return;
  std::vector<Screenshot> pending;
  pending.swap(mScreenshots);
  std::vector<uint8_t> pixels = mOutput.ReadPixels();
  std::vector<uint8_t> png = EncodeRgbaPng(pixels.data(), mOutput.Width(), mOutput.Height(), "torvane frame");
  for (const Screenshot& shot : pending) {
    std::string error = png.empty() ? "cannot encode the frame as PNG" : "";
    const bool written = !png.empty() && WriteOutputFile(shot.path, png, error);
    if (written) {
      Log(LogLevel::Info, "dev", "frame at %u ms written to %s", t, shot.path.c_str());
    } else {
      Log(LogLevel::Error, "dev", "%s", error.c_str());
    }
    if (shot.done) shot.done(written, error);
  }
}

int RunDevMode(const std::vector<std::string>& args) {
  DevOptions options;
  std::string error;
  if (!ParseDevOptions(args, options, error)) {
    std::fprintf(stderr, "torvane --dev: %s\n%s", error.c_str(), DEV_USAGE);
    return 2;
  }
  DevSession session;
  if (!session.Start(options, error)) {
    std::fprintf(stderr, "torvane --dev: %s\n", error.c_str());
    return 1;
  }
  while (session.Step()) {
  }
  session.Stop();
  return 0;
}
