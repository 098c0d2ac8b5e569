#pragma once
// A sync track: a named list of keys on the row grid, kept sorted by row with at most one key a
// row, and its value at any fractional row. The type of the key at or before a row shapes the
// segment to the next key.

#include <cstdint>
#include <string>
#include <vector>

enum SyncInterpolation : uint8_t { SYNC_STEP = 0, SYNC_LINEAR = 1, SYNC_SMOOTH = 2, SYNC_RAMP = 3 };
constexpr int SYNC_INTERPOLATION_COUNT = 4;

struct SyncKey {
  uint32_t row = 0;
  float value = 0;
  uint8_t interpolation = SYNC_STEP;
};

struct SyncTrack {
  std::string name;
  std::vector<SyncKey> keys;  // ascending rows, none twice
  int line = 0;               // where the track is written, for messages; 0 when made in memory
};

// The value at row: 0 without keys, the first key's value before it, the last's after it.
float SyncTrackValue(const SyncTrack& track, double row);

// Puts key in its place, replacing a key on the same row.
void SetSyncKey(SyncTrack& track, const SyncKey& key);
// Removes the key on row; false when there is none.
bool DeleteSyncKey(SyncTrack& track, uint32_t row);
// The key on row, or null.
const SyncKey* FindSyncKey(const SyncTrack& track, uint32_t row);

// The name of an interpolation ("step", "linear", "smooth", "ramp"), "" beyond.
const char* SyncInterpolationName(int interpolation);
// The interpolation named name (a name above, or its number); -1 for anything else.
int ParseSyncInterpolation(const std::string& name);
