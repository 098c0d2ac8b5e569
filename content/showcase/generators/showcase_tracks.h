#pragma once
// The showcase's sync tracks ("data\sync\tracks.xml"): the flashes on the bar and each section's
// exposure and fade, keyed on the music's row grid, so that one post-effect entry follows them
// where many short entries would otherwise each hold one step of the curve.

#include <cstdint>
#include <vector>

#include "files/sync_document.h"

inline constexpr double SHOWCASE_ROWS_PER_BEAT = 8.0;  // at 125 beats a minute, a row is 60 ms
inline constexpr char FLASH_TRACK[] = "flash:amount";
inline constexpr char EXPOSURE_TRACK[] = "grade:exposure";
inline constexpr char FADE_TRACK[] = "grade:fade";

// An empty document on the showcase's tempo and row grid.
SyncDocument ShowcaseTrackDocument();

// The row at ms, which must lie on the grid (every bar and beat does).
uint32_t ShowcaseRowOf(uint32_t ms);

// A flash of strength at row that falls away as (1 − u)² over a beat (u the beat's fraction),
// drawn as a line through each row of the beat; 0 after it.
void KeyFlash(SyncTrack& track, uint32_t row, double strength);

struct RampPoint {
  uint32_t row;
  double value;
};

// A ramp through points (ascending rows) joined by lines, holding after the last. A ramp that
// begins on the row where the previous one ended cuts that one a row short, holding its value
// there, so that every row has one key.
void KeyRamp(SyncTrack& track, const std::vector<RampPoint>& points);
