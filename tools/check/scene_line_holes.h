#pragma once
// Where a scene line that has drawn is left without an entry while its picture is still shown: the
// player keeps the line's last frame, so the picture stands still without a word. A line is shown
// while a running post-effect reads it, and line 0 also while no post-effect runs.

#include <string>
#include <vector>

struct SceneLineSpan {
  long line = 0;
  long start = 0;  // ms, both ends included
  long end = 0;
  int fileLine = 0;
  std::string id;
};

struct PostEffectSpan {
  long start = 0;
  long end = 0;
  std::vector<long> sceneLinesRead;
};

struct SceneLineHole {
  long line = 0;
  long from = 0;  // ms, both ends included
  long to = 0;
  const SceneLineSpan* before = nullptr;  // the entry that drew last
};

// lastMoment: the last moment of the demo (ms) that is drawn.
std::vector<SceneLineHole> FindShownSceneLineHoles(const std::vector<SceneLineSpan>& sceneLines,
                                                   const std::vector<PostEffectSpan>& postEffects, long lastMoment);
