#include "scene/demo_scene.h"

#include <algorithm>

#include "resources/res_tdf.h"
#include "resources/resource_manager.h"
#include "scene/cut_choice.h"
#include "render/screen_pass.h"

CORE_IMPLEMENT_DYNAMIC(cDemoScene, CoreObject)

namespace {

constexpr int32_t DEFAULT_RANGE = -1;

resTDF* AcquireSceneAnimation(const std::string& path) {
  resourceObject* resource = gResourceManager.GetResource(path.c_str());
  if (resource && !resource->IsKindOf("resTDF")) {
    resource->Release();
    return nullptr;
  }
  return static_cast<resTDF*>(resource);
}

float LargestKeyTime(const TdfObject& object) {
  float seconds = 0.0f;
  for (float time : object.times) seconds = std::max(seconds, time);
  return seconds;
}

}  // namespace

float SceneCutSeconds(const TdfScene& scene) {
  float seconds = 0.0f;
  for (const TdfObject& object : scene.objects) {
    if (object.modelIndex == TDF_CAMERA_SLOT) seconds = std::max(seconds, LargestKeyTime(object));
  }
  return seconds;
}

int32_t CutTimelineLength(const TdfDocument& document) {
  int64_t length = 0;
  for (const TdfScene& scene : document.GetScenes()) {
    for (const TdfObject& object : scene.objects) {
      if (object.modelIndex == TDF_CAMERA_SLOT) length += SaturatedMilliseconds(LargestKeyTime(object));
    }
  }
  return static_cast<int32_t>(std::min<int64_t>(length, INT32_MAX));
}

std::unique_ptr<CSceneTdfDefault> CreateSceneCut(const std::string& sceneName) {
  std::string className = SCENE_CUT_CLASS_PREFIX + sceneName;
  if (const CoreRuntimeClass* record = FindRuntimeClass(className.c_str())) {
    std::unique_ptr<CoreObject> object(record->CreateObject());
    if (object && object->IsKindOf("CSceneTdfDefault")) {
      return std::unique_ptr<CSceneTdfDefault>(static_cast<CSceneTdfDefault*>(object.release()));
    }
  }
  return std::make_unique<CSceneTdfDefault>();
}

cDemoScene::cDemoScene() : mRenderer(std::make_unique<cTdfRender>()) {}

cDemoScene::cDemoScene(const std::string& animationPath, const std::string& shaderName, int32_t line,
                       int32_t startTime, int32_t endTime, int32_t rangeStart, int32_t rangeEnd)
    : mAnimationPath(animationPath),
      mShaderName(shaderName),
      mLine(line),
      mStartTime(startTime),
      mEndTime(endTime),
      mRangeStart(rangeStart),
      mRangeEnd(rangeEnd) {
  mAnimation = AcquireSceneAnimation(mAnimationPath);
  const TdfDocument* document = mAnimation ? mAnimation->GetDocument() : nullptr;
  if (mRangeStart == DEFAULT_RANGE) mRangeStart = 0;
  if (mRangeEnd == DEFAULT_RANGE) mRangeEnd = document ? CutTimelineLength(*document) : 0;
  if (document) MakeCuts(*document);
  mRenderer = std::make_unique<cTdfRender>();
  mRenderer->SetSceneAnimation(mAnimation);
  for (const auto& cut : mCuts) cut->Start(mRenderer.get());
}

cDemoScene::~cDemoScene() {
  mRenderer.reset();
  mCuts.clear();
  if (mAnimation) mAnimation->Release();
}

void cDemoScene::MakeCuts(const TdfDocument& document) {
  const std::vector<TdfScene>& scenes = document.GetScenes();
  std::vector<float> lengths;
  for (const TdfScene& scene : scenes) lengths.push_back(SceneCutSeconds(scene));
  mSpans = BuildCutSpans(lengths);
  for (size_t s = 0; s < scenes.size(); ++s) {
    std::unique_ptr<CSceneTdfDefault> cut = CreateSceneCut(scenes[s].name);
    cut->Place(scenes[s].name, static_cast<int32_t>(s), mSpans[s].start, mSpans[s].end);
    mCuts.push_back(std::move(cut));
  }
}

bool cDemoScene::DrawsAtEveryPhase() const {
  // Phases become positions through a float product, exact only up to 2^24.
  constexpr int64_t EXACT_FLOAT_INTEGERS = int64_t{1} << 24;
  const int64_t range = int64_t{mRangeEnd} - mRangeStart;
  return range >= 0 && range <= EXACT_FLOAT_INTEGERS && CutsCover(mSpans, 0, static_cast<int32_t>(range));
}

bool cDemoScene::DrawPhase(float phase) {
  CutChoice choice = ChooseCut(mSpans, phase, int64_t{mRangeEnd} - mRangeStart);
  if (choice.index < 0) return true;
  CSceneTdfDefault& cut = *mCuts[static_cast<size_t>(choice.index)];

  ClearColourAndDepth();
  PushIdentityMatrices();
  cut.BeginFrame(mRenderer.get(), choice.phase);
  cut.DrawFrame(mRenderer.get(), choice.phase);
  cut.EndFrame(mRenderer.get(), choice.phase);
  PopMatricesToProjection();
  return true;
}
