// When a scene line that has drawn is left without an entry while its picture is shown.
#include <gtest/gtest.h>

#include "tools/check/scene_line_holes.h"

namespace {

struct HoleCase {
  const char* what;
  std::vector<SceneLineSpan> lines;
  std::vector<PostEffectSpan> postEffects;
  long lastMoment;
  std::vector<std::pair<long, long>> holes;  // from, to
  std::vector<std::string> before;           // the entry that drew last, for each
};

TEST(SceneLineHoles, NamedOnlyWhereTheFrozenPictureIsSeen) {
  const std::vector<HoleCase> cases = {
      {"line 0 ends early, no post-effect", {{0, 0, 5000, 3, "a"}}, {}, 7999, {{5001, 7999}}, {"a"}},
      {"line 0 to the end", {{0, 0, 8000, 3, "a"}}, {}, 7999, {}, {}},
      {"a gap between two entries", {{0, 0, 3000, 3, "a"}, {0, 4000, 8000, 4, "b"}}, {}, 7999, {{3001, 3999}}, {"a"}},
      {"entries that touch leave no gap", {{0, 0, 3000, 3, "a"}, {0, 3001, 8000, 4, "b"}}, {}, 7999, {}, {}},
      {"an overlapped entry does not end the drawing",
       {{0, 0, 6000, 3, "long"}, {0, 1000, 2000, 4, "short"}},
       {},
       7999,
       {{6001, 7999}},
       {"long"}},
      {"line 0 before it first draws is no hole", {{0, 2000, 8000, 3, "a"}}, {}, 7999, {}, {}},
      {"line 1 that nothing reads", {{0, 0, 8000, 3, "a"}, {1, 0, 2000, 4, "b"}}, {{0, 8000, {0}}}, 7999, {}, {}},
      {"line 1 read after it stops", {{0, 0, 8000, 3, "a"}, {1, 0, 2000, 4, "b"}}, {{0, 8000, {0, 1}}}, 7999,
       {{2001, 7999}}, {"b"}},
      {"line 0 hidden behind a post-effect that does not read it", {{0, 0, 2000, 3, "a"}, {1, 0, 8000, 4, "b"}},
       {{0, 8000, {1}}}, 7999, {}, {}},
      {"line 0 shown again when the post-effect stops", {{0, 0, 2000, 3, "a"}, {1, 0, 8000, 4, "b"}},
       {{0, 6000, {1}}}, 7999, {{2001, 7999}}, {"a"}},
  };
  for (const HoleCase& c : cases) {
    const std::vector<SceneLineHole> holes = FindShownSceneLineHoles(c.lines, c.postEffects, c.lastMoment);
    ASSERT_EQ(holes.size(), c.holes.size()) << c.what;
    for (size_t i = 0; i < holes.size(); ++i) {
      EXPECT_EQ(std::make_pair(holes[i].from, holes[i].to), c.holes[i]) << c.what;
      EXPECT_EQ(holes[i].before->id, c.before[i]) << c.what;
    }
  }
}

}  // namespace
