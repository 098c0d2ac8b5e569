#include "files/sync_track.h"

#include <algorithm>

namespace {

constexpr const char* INTERPOLATION_NAMES[SYNC_INTERPOLATION_COUNT] = {"step", "linear", "smooth", "ramp"};

std::vector<SyncKey>::const_iterator FirstAfter(const std::vector<SyncKey>& keys, double row) {
  return std::upper_bound(keys.begin(), keys.end(), row,
                          [](double r, const SyncKey& key) { return r < static_cast<double>(key.row); });
}

double Shaped(uint8_t interpolation, double t) {
  switch (interpolation) {
    case SYNC_LINEAR: return t;
    case SYNC_SMOOTH: return t * t * (3.0 - 2.0 * t);
    case SYNC_RAMP: return t * t;
    default: return 0.0;
  }
}

std::vector<SyncKey>::iterator LowerBound(std::vector<SyncKey>& keys, uint32_t row) {
  return std::lower_bound(keys.begin(), keys.end(), row, [](const SyncKey& key, uint32_t r) { return key.row < r; });
}

}  // namespace

float SyncTrackValue(const SyncTrack& track, double row) {
  const std::vector<SyncKey>& keys = track.keys;
  if (keys.empty()) return 0.0f;
  auto next = FirstAfter(keys, row);
  if (next == keys.begin()) return keys.front().value;
  if (next == keys.end()) return keys.back().value;
  const SyncKey& from = *(next - 1);
  const double t = (row - from.row) / static_cast<double>(next->row - from.row);
  return static_cast<float>(from.value + (next->value - from.value) * Shaped(from.interpolation, t));
}

void SetSyncKey(SyncTrack& track, const SyncKey& key) {
  auto at = LowerBound(track.keys, key.row);
  if (at != track.keys.end() && at->row == key.row) {
    *at = key;
  } else {
    track.keys.insert(at, key);
  }
}

bool DeleteSyncKey(SyncTrack& track, uint32_t row) {
  auto at = LowerBound(track.keys, row);
  if (at == track.keys.end() || at->row != row) return false;
  track.keys.erase(at);
  return true;
}

const SyncKey* FindSyncKey(const SyncTrack& track, uint32_t row) {
  auto at = std::lower_bound(track.keys.begin(), track.keys.end(), row,
                             [](const SyncKey& key, uint32_t r) { return key.row < r; });
  return at != track.keys.end() && at->row == row ? &*at : nullptr;
}

const char* SyncInterpolationName(int interpolation) {
  return interpolation >= 0 && interpolation < SYNC_INTERPOLATION_COUNT ? INTERPOLATION_NAMES[interpolation] : "";
}

int ParseSyncInterpolation(const std::string& name) {
  for (int i = 0; i < SYNC_INTERPOLATION_COUNT; ++i) {
    if (name == INTERPOLATION_NAMES[i] || name == std::to_string(i)) return i;
  }
  return -1;
}
