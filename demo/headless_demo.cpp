#include "demo/headless_demo.h"

#include "demo/demo_manager.h"
#include "files/pack_file.h"
#include "platform/hidden_gl_context.h"
#include "render/pixel_readback.h"
#include "render/renderer_manager.h"
#include "render/screen_buffer.h"
#include "render/screen_pass.h"
#include "resources/custom_texture_manager.h"
#include "shell/settings_manager.h"
#include "shell/system_manager.h"

namespace {

// Frames are read back from the off-screen output; nothing is shown.
void PresentNothing() {}

}  // namespace

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

HeadlessDemo::HeadlessDemo() = default;

HeadlessDemo::~HeadlessDemo() { Stop(); }

bool HeadlessDemo::Start(const HeadlessOptions& options, std::string& error) {
  Stop();
  mOptions = options;
  if (mOptions.frame.lowQuality) mOptions.frame.fsaaLevel = 0;
  mContext = std::make_unique<platform::HiddenGLContext>();
  if (!mContext->Create(mOptions.frame.width, mOptions.frame.height)) {
    error = mContext->Error();
    mContext.reset();
    return false;
  }
  OpenPackage(mOptions.packPath.c_str());
  gSettingsManager.SetSettings(SettingsForFrame(mOptions.frame));
  gRendererManager.SetPresenter(PresentNothing);
  gRendererManager.SetScreenSize(static_cast<uint16_t>(mOptions.frame.width), static_cast<uint16_t>(mOptions.frame.height));
  gDemoManager.UseClockWithoutMusic(std::make_unique<FixedStepDemoClock>(0));
  gDemoManager.ComposeEveryPass(mOptions.frame.everyPass);
  if (!InitializeAll(TheManagerList(), TakesPartWithoutLauncher)) {
    error = "the managers did not start";
    TerminateAll(TheManagerList(), TakesPartWithoutLauncher);
    ClosePackage();
    mContext.reset();
    return false;
  }
  SetViewport(mOptions.frame.width, mOptions.frame.height);

  mOutput = new cScreenBuffer(mOptions.frame.width, mOptions.frame.height, ScreenBufferFormat::Rgba8,
                              SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
  gDemoManager.Composer().SetOutputFramebuffer(mOutput->GetFramebuffer());
  mOutput->bind();
  gDemoManager.LoadDemo();
  mReadBack.Create(mOptions.frame.width, mOptions.frame.height, mOptions.readBackDepth);
  mStarted = true;
  return true;
}

std::vector<uint8_t> HeadlessDemo::RenderFrame(uint32_t t) {
  int width = mOptions.frame.width;
  int height = mOptions.frame.height;
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  if (!mStarted) return pixels;
  ComposeFrame(t);
  pixels = ReadPixelsTopFirst(width, height);
  BindWindowFramebuffer();
  return pixels;
}

void HeadlessDemo::ComposeFrame(uint32_t t) {
  if (!mStarted) return;
  SetViewport(mOptions.frame.width, mOptions.frame.height);
  gDemoManager.ComposeFrameAt(t);
  mOutput->bind();
  gRendererManager.FrameUpdate();
}

bool HeadlessDemo::QueueFrame() {
  if (!mStarted) return false;
  mOutput->bind();
  bool queued = mReadBack.Queue();
  BindWindowFramebuffer();
  return queued;
}

bool HeadlessDemo::CollectFrame(std::vector<uint8_t>& bottomFirst) { return mStarted && mReadBack.Collect(bottomFirst); }

void HeadlessDemo::Stop() {
  mReadBack.Destroy();
  if (mStarted) {
    // The player leaves its custom textures to the end of the process; a headless demo may be
    // started again in the same process, so it gives them back first.
    gCustomTextureManager.Clear();
    TerminateAll(TheManagerList(), TakesPartWithoutLauncher);
    gRendererManager.SetPresenter(nullptr);
    ClosePackage();
    mStarted = false;
  }
  delete mOutput;
  mOutput = nullptr;
  mContext.reset();
}
