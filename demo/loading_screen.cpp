#include "demo/loading_screen.h"

#include "core/runtime_class.h"
#include "render/renderer_manager.h"
#include "render/screen_pass.h"
#include "scene/scene_tdf_default.h"

namespace {

constexpr char LOADER_CLASS_NAME[] = "CSceneTdf_loader";

}  // namespace

LoadingScreen::LoadingScreen() {
  if (const CoreRuntimeClass* record = FindRuntimeClass(LOADER_CLASS_NAME)) {
    std::unique_ptr<CoreObject> object(record->CreateObject());
    if (auto* loader = dynamic_cast<CSceneTdfDefault*>(object.get())) {
      object.release();
      mLoader.reset(loader);
      mLoader->Start(nullptr);
    }
  }
}

LoadingScreen::~LoadingScreen() = default;

void LoadingScreen::Draw(float progress) {
  if (!mLoader) return;
  mLoader->BeginFrame(nullptr, progress);
  mLoader->DrawFrame(nullptr, progress);
  mLoader->EndFrame(nullptr, progress);
}

void LoadingScreen::PresentFrame(float progress, bool clearFirst) {
  if (clearFirst) {
    SetClearColour(0.0f, 0.0f, 0.0f, 1.0f);
    ClearColourAndDepth();
  }
  Draw(progress);
  gRendererManager.FrameEnd();
}
