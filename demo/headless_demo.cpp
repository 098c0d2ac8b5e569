#include "demo/headless_demo.h"

#include "demo/demo_manager.h"
#include "platform/hidden_gl_context.h"
#include "render/pixel_readback.h"
#include "render/screen_buffer.h"
#include "render/screen_pass.h"

namespace {

// Frames are read back from the off-screen output; nothing is shown.
void PresentNothing() {}

}  // namespace

HeadlessDemo::HeadlessDemo() = default;

HeadlessDemo::~HeadlessDemo() { Stop(); }

bool HeadlessDemo::Start(const HeadlessOptions& options, std::string& error) {
  Stop();
  mOptions = options;
  if (mOptions.frame.lowQuality) mOptions.frame.fsaaLevel = 0;
  render::SelectDrawingPath(mOptions.drawingPath);
  mContext = std::make_unique<platform::HiddenGLContext>();
  if (!mContext->Create(mOptions.frame.width, mOptions.frame.height)) {
    error = mContext->Error();
    mContext.reset();
    return false;
  }
  EngineOptions engine;
  engine.playerWindow = false;
  engine.packPath = mOptions.packPath;
  engine.frame = mOptions.frame;
  engine.presenter = PresentNothing;
  engine.beforeLoading = [this] {
    mOutput = new cScreenBuffer(mOptions.frame.width, mOptions.frame.height, ScreenBufferFormat::Rgba8,
                                SCREEN_BUFFER_COLOR | SCREEN_BUFFER_DEPTH);
    gDemoManager.Composer().SetOutputFramebuffer(mOutput->GetFramebuffer());
    mOutput->bind();
  };
  if (!mEngine.Start(std::move(engine), error)) {
    delete mOutput;
    mOutput = nullptr;
    mContext.reset();
    return false;
  }
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
  mEngine.ComposeFrameAt(t);
  mOutput->bind();
  mEngine.ReplayCommands();
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
  mEngine.Stop();
  mStarted = false;
  delete mOutput;
  mOutput = nullptr;
  mContext.reset();
}
