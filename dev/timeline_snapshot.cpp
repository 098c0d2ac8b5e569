#include "dev/timeline_snapshot.h"

#include <algorithm>
#include <cmath>

#include "demo/demo_manager.h"
#include "demo/scene_line_table.h"
#include "resources/post_effect_manager.h"
#include "scene/cut_choice.h"
#include "scene/demo_scene.h"

namespace {

// How far from the computed first ms the exact one may lie: the drawing rounds in single precision.
constexpr int64_t CUT_START_SEARCH_MS = 3;

int CutAt(uint32_t start, uint32_t end, const std::vector<CutSpan>& cuts, int64_t rangeLength, uint32_t t) {
  return ChooseCut(cuts, ScenePhase(t, start, end), rangeLength).index;
}

std::vector<CutSpan> SpansOf(const cDemoScene& scene) {
  std::vector<CutSpan> spans;
  for (const auto& cut : scene.Cuts()) spans.push_back({cut->GetStart(), cut->GetEnd()});
  return spans;
}

int64_t RangeLength(const cDemoScene& scene) { return int64_t{scene.GetRangeEnd()} - scene.GetRangeStart(); }

std::vector<CutMark> CutMarks(const cDemoScene& scene, uint32_t start, uint32_t end) {
  std::vector<CutSpan> spans = SpansOf(scene);
  std::vector<CutMark> marks;
  for (size_t c = 0; c < spans.size(); ++c) {
    uint32_t first = 0;
    if (!CutStartTime(start, end, spans, c, RangeLength(scene), first)) continue;
    marks.push_back({scene.Cuts()[c]->GetSceneName(), first, end});
    if (marks.size() > 1) marks[marks.size() - 2].end = first > 0 ? first - 1 : 0;
  }
  return marks;
}

}  // namespace

bool CutStartTime(uint32_t start, uint32_t end, const std::vector<CutSpan>& cuts, size_t cut, int64_t rangeLength,
                  uint32_t& time) {
  if (cut >= cuts.size() || end < start || rangeLength <= 0) return false;
  double guess = start + std::ceil(static_cast<double>(cuts[cut].start) * (end - start) / static_cast<double>(rangeLength));
  int64_t from = std::max<int64_t>(start, static_cast<int64_t>(guess) - CUT_START_SEARCH_MS);
  int64_t to = std::min<int64_t>(end, static_cast<int64_t>(guess) + CUT_START_SEARCH_MS);
  for (int64_t t = from; t <= to; ++t) {
    if (CutAt(start, end, cuts, rangeLength, static_cast<uint32_t>(t)) == static_cast<int>(cut)) {
      time = static_cast<uint32_t>(t);
      return true;
    }
  }
  return false;
}

TimelineSnapshot SnapshotTimeline() {
  TimelineSnapshot timeline;
  const std::vector<SceneLineEntry>& lines = gDemoManager.SceneLines();
  for (size_t i = 0; i < lines.size(); ++i) {
    SceneLineMark mark;
    mark.entry = static_cast<int>(i);
    mark.line = lines[i].line;
    mark.tdfId = lines[i].tdfId;
    mark.shader = lines[i].shaderName;
    mark.start = lines[i].startTime;
    mark.end = lines[i].endTime;
    if (const cDemoScene* scene = gDemoManager.SceneOf(i)) {
      mark.drawn = true;
      mark.cuts = CutMarks(*scene, mark.start, mark.end);
    }
    timeline.end = std::max(timeline.end, mark.end);
    timeline.scenes.push_back(std::move(mark));
  }
  for (size_t i = 0; i < gPostEffectManager.entryCount(); ++i) {
    const PostEffectEntry& entry = gPostEffectManager.Entry(i);
    timeline.postEffects.push_back({i, entry.shader, entry.startTime, entry.endTime});
    timeline.end = std::max(timeline.end, entry.endTime);
  }
  return timeline;
}

std::vector<uint32_t> TimelineBoundaries(const TimelineSnapshot& timeline) {
  std::vector<uint32_t> boundaries;
  for (const SceneLineMark& scene : timeline.scenes) {
    boundaries.push_back(scene.start);
    if (scene.end < UINT32_MAX) boundaries.push_back(scene.end + 1);
    for (const CutMark& cut : scene.cuts) boundaries.push_back(cut.start);
  }
  std::sort(boundaries.begin(), boundaries.end());
  boundaries.erase(std::unique(boundaries.begin(), boundaries.end()), boundaries.end());
  return boundaries;
}

uint32_t NextBoundary(const std::vector<uint32_t>& boundaries, uint32_t t, uint32_t fallback) {
  auto next = std::upper_bound(boundaries.begin(), boundaries.end(), t);
  return next == boundaries.end() ? fallback : *next;
}

uint32_t PreviousBoundary(const std::vector<uint32_t>& boundaries, uint32_t t) {
  auto next = std::lower_bound(boundaries.begin(), boundaries.end(), t);
  return next == boundaries.begin() ? 0 : *(next - 1);
}

int ActiveCut(const cDemoScene& scene, uint32_t t) {
  uint32_t start = static_cast<uint32_t>(scene.GetStartTime());
  uint32_t end = static_cast<uint32_t>(scene.GetEndTime());
  if (t < start || t > end) return -1;
  return CutAt(start, end, SpansOf(scene), RangeLength(scene), t);
}
