#pragma once
// The loaded timeline as the developer mode shows and reports it: every scene line entry with its
// span and its cuts in demo time, the post-effect entries' spans, and the boundaries the playhead
// can jump between. Taken from the demo after each load.

#include <cstdint>
#include <string>
#include <vector>

#include "scene/cut_timeline.h"

class cDemoScene;
struct SceneLineEntry;

struct CutMark {
  std::string scene;  // the animation's scene the cut plays
  uint32_t start;     // the first demo ms that shows it
  uint32_t end;       // the last
};

struct SceneLineMark {
  int entry = 0;  // index in the scene line definitions
  int line = 0;
  std::string tdfId;
  std::string shader;
  uint32_t start = 0;
  uint32_t end = 0;
  bool drawn = false;  // has a scene in the line table
  std::vector<CutMark> cuts;
};

struct PostEffectMark {
  size_t index = 0;  // in the post-effect manager's order
  std::string shader;
  uint32_t start = 0;
  uint32_t end = 0;
};

struct TimelineSnapshot {
  std::vector<SceneLineMark> scenes;
  std::vector<PostEffectMark> postEffects;
  uint32_t end = 0;  // the last ms any entry covers
};

// The first demo ms of a scene line spanning [start, end] that shows cut (of cuts, laid over
// rangeLength ms of the scene's cut timeline); false when none does.
bool CutStartTime(uint32_t start, uint32_t end, const std::vector<CutSpan>& cuts, size_t cut, int64_t rangeLength,
                  uint32_t& time);

// Each scene line's span, cuts and table slot as the demo has loaded them.
TimelineSnapshot SnapshotTimeline();

// Where the picture's content changes: each scene line's start and the ms after its end, and each
// cut's start; sorted, each once.
std::vector<uint32_t> TimelineBoundaries(const TimelineSnapshot& timeline);
// The first boundary after t (or fallback), and the last one before t (or 0).
uint32_t NextBoundary(const std::vector<uint32_t>& boundaries, uint32_t t, uint32_t fallback);
uint32_t PreviousBoundary(const std::vector<uint32_t>& boundaries, uint32_t t);

// The cut of scene line entry that shows at t, -1 for none.
int ActiveCut(const cDemoScene& scene, uint32_t t);
