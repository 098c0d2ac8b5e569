#pragma once
// cDemoScene: what a scene line plays. It holds a scene animation, lays the animation's scenes end
// to end as cuts on a millisecond cut timeline (each as long as its scene's camera track), and
// draws the cut that the scene line's phase falls in. A cut's class is chosen by the scene's name:
// "CSceneTdf_" followed by the name when such a class is registered, else CSceneTdfDefault.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/runtime_class.h"
#include "files/tdf_document.h"
#include "scene/cut_timeline.h"
#include "scene/scene_tdf_default.h"
#include "scene/tdf_render.h"

class resTDF;

inline constexpr char SCENE_CUT_CLASS_PREFIX[] = "CSceneTdf_";

class cDemoScene : public CoreObject {
  CORE_DECLARE_DYNAMIC(cDemoScene)
  // Loads the scene animation at animationPath (one reference held) and makes its cuts. A range
  // bound of -1 selects the default: 0 for the start, the total camera length for the end. An
  // animation that does not load gives a scene without cuts, which draws nothing.
  cDemoScene(const std::string& animationPath, const std::string& shaderName, int32_t line, int32_t startTime,
             int32_t endTime, int32_t rangeStart, int32_t rangeEnd);
  cDemoScene();
  ~cDemoScene() override;
  cDemoScene(const cDemoScene&) = delete;
  cDemoScene& operator=(const cDemoScene&) = delete;

  virtual bool OnEnter() { return true; }
  virtual bool OnLeave() { return true; }
  // Draws the cut at phase (0 to 1 over the range) into the bound target: clears it, then runs the
  // cut's frame between pushed identity matrices. A phase outside every cut draws nothing. True.
  virtual bool DrawPhase(float phase);
  // True when DrawPhase clears and draws its target at every phase from 0 to 1.
  bool DrawsAtEveryPhase() const;

  const std::string& GetAnimationPath() const { return mAnimationPath; }
  const std::string& GetShaderName() const { return mShaderName; }
  int32_t GetLine() const { return mLine; }
  int32_t GetStartTime() const { return mStartTime; }
  int32_t GetEndTime() const { return mEndTime; }
  int32_t GetRangeStart() const { return mRangeStart; }
  int32_t GetRangeEnd() const { return mRangeEnd; }
  resTDF* GetSceneAnimation() const { return mAnimation; }
  cTdfRender* GetRenderer() const { return mRenderer.get(); }
  const std::vector<std::unique_ptr<CSceneTdfDefault>>& Cuts() const { return mCuts; }

 private:
  void MakeCuts(const TdfDocument& document);

  std::string mAnimationPath;
  std::string mShaderName;
  int32_t mLine = 0;
  int32_t mStartTime = 0;
  int32_t mEndTime = 0;
  int32_t mRangeStart = 0;
  int32_t mRangeEnd = 0;
  resTDF* mAnimation = nullptr;
  std::unique_ptr<cTdfRender> mRenderer;
  std::vector<std::unique_ptr<CSceneTdfDefault>> mCuts;
  std::vector<CutSpan> mSpans;  // the cuts' spans, in cut order
};

// The cut object for a scene: a new object of the class "CSceneTdf_" + sceneName when one is
// registered and is a cut, else a new CSceneTdfDefault.
std::unique_ptr<CSceneTdfDefault> CreateSceneCut(const std::string& sceneName);

// The total cut timeline of a document in milliseconds: every camera object's largest key time
// (at least 0), each truncated to whole milliseconds, summed.
int32_t CutTimelineLength(const TdfDocument& document);

// The seconds a scene's cut lasts: the largest of 0 and every key time of its camera objects.
float SceneCutSeconds(const TdfScene& scene);
