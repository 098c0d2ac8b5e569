#include "content/showcase/generators/showcase_tracks.h"

#include <cmath>

#include "content/showcase/generators/timeline.h"

namespace {

// Ends the previous ramp a row before row: its last key moves back and holds what the line had
// reached there.
void EndRampBefore(SyncTrack& track, uint32_t row) {
  if (track.keys.empty() || track.keys.back().row < row || row == 0) return;
  const float reached = SyncTrackValue(track, row - 1.0);
  track.keys.pop_back();
  SetSyncKey(track, {row - 1, reached, SYNC_STEP});
}

}  // namespace

SyncDocument ShowcaseTrackDocument() {
  SyncDocument document;
  document.bpm = SHOWCASE_TEMPO;
  document.rowsPerBeat = SHOWCASE_ROWS_PER_BEAT;
  document.rows = ShowcaseRowOf(BarMs(ShowcaseBars()));
  return document;
}

uint32_t ShowcaseRowOf(uint32_t ms) {
  return static_cast<uint32_t>(std::lround(ms / (BeatSeconds() * 1000.0) * SHOWCASE_ROWS_PER_BEAT));
}

void KeyFlash(SyncTrack& track, uint32_t row, double strength) {
  const uint32_t rows = static_cast<uint32_t>(SHOWCASE_ROWS_PER_BEAT);
  for (uint32_t k = 0; k <= rows; ++k) {
    const double left = 1.0 - static_cast<double>(k) / rows;
    SetSyncKey(track, {row + k, static_cast<float>(strength * left * left), k == rows ? SYNC_STEP : SYNC_LINEAR});
  }
}

void KeyRamp(SyncTrack& track, const std::vector<RampPoint>& points) {
  if (points.empty()) return;
  EndRampBefore(track, points.front().row);
  for (size_t i = 0; i < points.size(); ++i) {
    const bool last = i + 1 == points.size();
    SetSyncKey(track, {points[i].row, static_cast<float>(points[i].value), last ? SYNC_STEP : SYNC_LINEAR});
  }
}
