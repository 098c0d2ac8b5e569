#include "tools/check/scene_line_holes.h"

#include <algorithm>
#include <climits>

namespace {

bool Overlaps(long start, long end, long from, long to) { return std::max(start, from) <= std::min(end, to); }

bool ReadDuring(const std::vector<PostEffectSpan>& postEffects, long line, long from, long to) {
  return std::any_of(postEffects.begin(), postEffects.end(), [&](const PostEffectSpan& effect) {
    const bool reads = std::find(effect.sceneLinesRead.begin(), effect.sceneLinesRead.end(), line) != effect.sceneLinesRead.end();
    return reads && Overlaps(effect.start, effect.end, from, to);
  });
}

// Whether some moment from..to has no post-effect running.
bool NoPostEffectAtSomeMoment(std::vector<PostEffectSpan> postEffects, long from, long to) {
  std::sort(postEffects.begin(), postEffects.end(),
            [](const PostEffectSpan& a, const PostEffectSpan& b) { return a.start < b.start; });
  long uncovered = from;
  for (const PostEffectSpan& effect : postEffects) {
    if (effect.end < uncovered) continue;
    if (effect.start > uncovered) return true;
    if (effect.end >= to) return false;
    uncovered = effect.end + 1;
  }
  return uncovered <= to;
}

bool Shown(const std::vector<PostEffectSpan>& postEffects, long line, long from, long to) {
  return ReadDuring(postEffects, line, from, to) || (line == 0 && NoPostEffectAtSomeMoment(postEffects, from, to));
}

}  // namespace

std::vector<SceneLineHole> FindShownSceneLineHoles(const std::vector<SceneLineSpan>& sceneLines,
                                                   const std::vector<PostEffectSpan>& postEffects, long lastMoment) {
  std::vector<const SceneLineSpan*> ordered;
  for (const SceneLineSpan& span : sceneLines) {
    if (span.start >= 0 && span.start <= span.end) ordered.push_back(&span);
  }
  std::stable_sort(ordered.begin(), ordered.end(), [](const SceneLineSpan* a, const SceneLineSpan* b) {
    return a->line != b->line ? a->line < b->line : a->start < b->start;
  });
  std::vector<SceneLineHole> holes;
  for (size_t i = 0; i < ordered.size(); ++i) {
    const long line = ordered[i]->line;
    // The entries that follow on without a gap draw as one; the one that ends last drew last.
    const SceneLineSpan* before = ordered[i];
    while (i + 1 < ordered.size() && ordered[i + 1]->line == line && ordered[i + 1]->start - 1 <= before->end) {
      if (ordered[++i]->end > before->end) before = ordered[i];
    }
    const bool last = i + 1 == ordered.size() || ordered[i + 1]->line != line;
    const long from = before->end == LONG_MAX ? LONG_MAX : before->end + 1;
    const long to = last ? lastMoment : std::min(lastMoment, ordered[i + 1]->start - 1);
    if (from > to || !Shown(postEffects, line, from, to)) continue;
    holes.push_back({line, from, to, before});
  }
  return holes;
}
