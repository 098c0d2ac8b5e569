// Track values at every kind of row: no keys, the edges, on and between keys, each
// interpolation; and the edits that keep a track sorted with one key a row.
#include <gtest/gtest.h>

#include "files/sync_track.h"

namespace {

SyncTrack TwoKeys(uint8_t interpolation) {
  return {"t", {{10, 2.0f, interpolation}, {20, 6.0f, SYNC_STEP}}, 0};
}

TEST(SyncTrackValue, FollowsTheKeysAndTheirShapes) {
  struct Case {
    const char* name;
    SyncTrack track;
    double row;
    float expected;
  };
  const Case cases[] = {
      {"no keys", {"t", {}, 0}, 5.0, 0.0f},
      {"before the first", TwoKeys(SYNC_LINEAR), 3.0, 2.0f},
      {"on the first", TwoKeys(SYNC_LINEAR), 10.0, 2.0f},
      {"on the last", TwoKeys(SYNC_LINEAR), 20.0, 6.0f},
      {"after the last", TwoKeys(SYNC_LINEAR), 1e9, 6.0f},
      {"step holds", TwoKeys(SYNC_STEP), 19.9, 2.0f},
      {"linear quarter", TwoKeys(SYNC_LINEAR), 12.5, 3.0f},
      {"linear fractional", TwoKeys(SYNC_LINEAR), 15.25, 4.1f},
      {"smooth quarter", TwoKeys(SYNC_SMOOTH), 12.5, 2.0f + 4.0f * 0.15625f},
      {"smooth half", TwoKeys(SYNC_SMOOTH), 15.0, 4.0f},
      {"ramp quarter", TwoKeys(SYNC_RAMP), 12.5, 2.0f + 4.0f * 0.0625f},
      {"ramp three quarters", TwoKeys(SYNC_RAMP), 17.5, 2.0f + 4.0f * 0.5625f},
      {"single key", {"t", {{4, -1.5f, SYNC_LINEAR}}, 0}, 100.0, -1.5f},
      {"third segment takes its own type",
       {"t", {{0, 0.0f, SYNC_LINEAR}, {4, 4.0f, SYNC_STEP}, {8, 8.0f, SYNC_LINEAR}}, 0},
       6.0,
       4.0f},
  };
  for (const Case& c : cases) EXPECT_NEAR(SyncTrackValue(c.track, c.row), c.expected, 1e-5) << c.name;
}

TEST(SyncTrackEdits, KeepRowsSortedAndSingle) {
  SyncTrack track{"t", {}, 0};
  SetSyncKey(track, {8, 1.0f, SYNC_LINEAR});
  SetSyncKey(track, {2, 2.0f, SYNC_STEP});
  SetSyncKey(track, {5, 3.0f, SYNC_RAMP});
  SetSyncKey(track, {5, 4.0f, SYNC_SMOOTH});
  ASSERT_EQ(track.keys.size(), 3u);
  EXPECT_EQ(track.keys[0].row, 2u);
  EXPECT_EQ(track.keys[1].row, 5u);
  EXPECT_EQ(track.keys[1].value, 4.0f);
  EXPECT_EQ(track.keys[1].interpolation, SYNC_SMOOTH);
  EXPECT_EQ(track.keys[2].row, 8u);
  ASSERT_NE(FindSyncKey(track, 8), nullptr);
  EXPECT_EQ(FindSyncKey(track, 7), nullptr);
  EXPECT_TRUE(DeleteSyncKey(track, 5));
  EXPECT_FALSE(DeleteSyncKey(track, 5));
  EXPECT_EQ(track.keys.size(), 2u);
}

TEST(SyncInterpolationNames, ReadByNameOrNumber) {
  for (int i = 0; i < SYNC_INTERPOLATION_COUNT; ++i) {
    EXPECT_EQ(ParseSyncInterpolation(SyncInterpolationName(i)), i);
    EXPECT_EQ(ParseSyncInterpolation(std::to_string(i)), i);
  }
  EXPECT_EQ(ParseSyncInterpolation("4"), -1);
  EXPECT_EQ(ParseSyncInterpolation("cubic"), -1);
  EXPECT_STREQ(SyncInterpolationName(7), "");
}

}  // namespace
