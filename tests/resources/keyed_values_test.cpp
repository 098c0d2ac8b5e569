// Constants keyed by sync tracks: each component takes its own track where there is one and keeps
// its written number where there is none; reading back what the tracks file and the definitions
// name.
#include <gtest/gtest.h>

#include "files/sync_document.h"
#include "resources/post_effect_entry.h"

namespace {

SyncDocument Tracks() {
  SyncDocument document;
  document.tracks.push_back({"tint", {{0, 1.0f, SYNC_LINEAR}, {10, 2.0f, SYNC_STEP}}, 0});
  document.tracks.push_back({"tint.z", {{0, 5.0f, SYNC_STEP}}, 0});
  document.tracks.push_back({"tint.w", {{0, 7.0f, SYNC_STEP}}, 0});
  return document;
}

TEST(KeyedValues, EachComponentFollowsItsTrack) {
  const SyncDocument tracks = Tracks();
  struct Case {
    const char* type;
    const char* value;
    const char* track;
    float expected[4];
  };
  const Case cases[] = {
      {"float4", "9,9,9,9", "tint", {1.5f, 9, 5, 7}},
      {"float3", "9,8,6", "tint", {1.5f, 8, 5, 5}},  // the left-out w follows z
      {"float", "3", "tint", {1.5f, 1.5f, 1.5f, 1.5f}},
      {"float2", "3,4", "nothing", {3, 4, 4, 4}},
      {"half", "3", "tint", {0, 0, 0, 0}},  // a type that sets nothing keys nothing
  };
  for (const Case& c : cases) {
    PostEffectConstant constant = ReadPostEffectConstant("p", c.type, c.value);
    constant.track = c.track;
    float values[4];
    KeyedValues(constant, tracks, 5.0, values);
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(values[i], c.expected[i]) << c.type << " component " << i;
  }
}

TEST(KeyedValues, BoundNamesListEveryComponentOnce) {
  PostEffectEntry entry;
  entry.constants.push_back(ReadPostEffectConstant("a", "float3", "0,0,0"));
  entry.constants.back().track = "tint";
  entry.constants.push_back(ReadPostEffectConstant("b", "float", "0"));
  entry.constants.back().track = "tint";
  entry.constants.push_back(ReadPostEffectConstant("c", "float", "0"));
  EXPECT_EQ(BoundTrackNames({entry, entry}), (std::vector<std::string>{"tint", "tint.y", "tint.z"}));
}

}  // namespace
