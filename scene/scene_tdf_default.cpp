#include "scene/scene_tdf_default.h"

#include "scene/tdf_render.h"

CORE_IMPLEMENT_DYNAMIC(CSceneTdfDefault, CoreObject)

void CSceneTdfDefault::Start(cTdfRender*) {}

void CSceneTdfDefault::BeginFrame(cTdfRender*, float) {}

void CSceneTdfDefault::DrawFrame(cTdfRender* renderer, float phase) {
  if (renderer) renderer->DrawSceneByName(mSceneName, phase);
}

void CSceneTdfDefault::EndFrame(cTdfRender*, float) {}

void CSceneTdfDefault::Place(const std::string& sceneName, int32_t sceneIndex, int32_t start, int32_t end) {
  mSceneName = sceneName;
  mSceneIndex = sceneIndex;
  mStart = start;
  mEnd = end;
}
