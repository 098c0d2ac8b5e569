#pragma once
// CSceneTdfDefault: one cut of a demo scene, the piece of its cut timeline that plays one scene of
// the scene animation. This class simply draws the scene; a class registered as "CSceneTdf_"
// followed by a scene's name takes that scene over (see cDemoScene).

#include <cstdint>
#include <string>

#include "core/runtime_class.h"

class cTdfRender;

class CSceneTdfDefault : public CoreObject {
  CORE_DECLARE_DYNAMIC(CSceneTdfDefault)
  CSceneTdfDefault() = default;
  ~CSceneTdfDefault() override = default;

  virtual int32_t GetSceneIndex() const { return mSceneIndex; }
  // Once, after the cut is made. renderer is null for the loading screen.
  virtual void Start(cTdfRender* renderer);
  // One frame at phase 0 (the cut's start) to 1 (its end), in this order.
  virtual void BeginFrame(cTdfRender* renderer, float phase);
  // Draws the scene by name.
  virtual void DrawFrame(cTdfRender* renderer, float phase);
  virtual void EndFrame(cTdfRender* renderer, float phase);

  // Places the cut: the scene's name and index, its span in milliseconds (both ends inclusive).
  void Place(const std::string& sceneName, int32_t sceneIndex, int32_t start, int32_t end);
  const std::string& GetSceneName() const { return mSceneName; }
  int32_t GetStart() const { return mStart; }
  int32_t GetEnd() const { return mEnd; }

 private:
  std::string mSceneName;
  int32_t mStart = 0;
  int32_t mEnd = 0;
  int32_t mSceneIndex = 0;
};
