// CSceneTdf_swarm: the places, sizes and colours of the swarm's copies under its controls, and the
// class taking over scenes named for it.
#include <cmath>
#include <set>

#include <gtest/gtest.h>

#include "scene/demo_scene.h"
#include "scene/scene_tdf_swarm.h"

namespace {

float Length(const std::array<float, 3>& p) { return std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]); }

TEST(SwarmFormations, EveryFormationKeepsItsCopiesApartAndNearTheUnitSphere) {
  for (int formation = 0; formation < SWARM_FORMATIONS; ++formation) {
    std::set<std::array<float, 3>> places;
    for (int i = 0; i < SWARM_COPIES; ++i) {
      std::array<float, 3> p = SwarmFormationPoint(formation, i, SWARM_COPIES);
      ASSERT_LE(Length(p), 3.1f) << "formation " << formation << " copy " << i;
      places.insert(p);
      EXPECT_EQ(SwarmFormationPoint(formation, i, SWARM_COPIES), p) << "the same copy, the same place";
    }
    EXPECT_GT(places.size(), SWARM_COPIES * 9 / 10) << "formation " << formation << " piles copies up";
  }
  for (int i = 0; i < SWARM_COPIES; i += 37) EXPECT_NEAR(Length(SwarmFormationPoint(0, i, SWARM_COPIES)), 1.0f, 1e-4f);
  // Out-of-range numbers are clamped, not read past the table.
  EXPECT_EQ(SwarmFormationPoint(-3, 5, SWARM_COPIES), SwarmFormationPoint(0, 5, SWARM_COPIES));
  EXPECT_EQ(SwarmFormationPoint(99, 5, SWARM_COPIES), SwarmFormationPoint(SWARM_FORMATIONS - 1, 5, SWARM_COPIES));
}

TEST(SwarmCopies, ControlsMoveScaleAndColourTheCopies) {
  SwarmControls controls;
  controls.formationA = 0;
  controls.formationB = 4;
  controls.radius = 3.0f;
  controls.size = 0.2f;
  for (int i : {0, 17, 600, SWARM_COPIES - 1}) {
    std::array<float, 3> sphere = SwarmFormationPoint(0, i, SWARM_COPIES);
    std::array<float, 3> burst = SwarmFormationPoint(4, i, SWARM_COPIES);
    SwarmCopy atA = PlaceSwarmCopy(controls, i, 0.0f);
    for (int axis = 0; axis < 3; ++axis) EXPECT_NEAR(atA.position[axis], sphere[axis] * 3.0f, 1e-4f);
    controls.blend = 1.0f;
    SwarmCopy atB = PlaceSwarmCopy(controls, i, 0.0f);
    for (int axis = 0; axis < 3; ++axis) EXPECT_NEAR(atB.position[axis], burst[axis] * 3.0f, 1e-4f);
    controls.blend = 7.0f;  // keys may overshoot: the blend is clamped
    EXPECT_EQ(PlaceSwarmCopy(controls, i, 0.0f).position, atB.position);
    controls.blend = 0.0f;

    // Swirling turns the copy about the swarm's y axis: its height and distance from the axis stay.
    controls.swirl = 1.0f;
    SwarmCopy turned = PlaceSwarmCopy(controls, i, 2.0f);
    EXPECT_NEAR(turned.position[1], atA.position[1], 1e-4f);
    EXPECT_NEAR(std::hypot(turned.position[0], turned.position[2]), std::hypot(atA.position[0], atA.position[2]), 1e-4f);
    controls.swirl = 0.0f;

    controls.pulse = 0.5f;
    EXPECT_NEAR(PlaceSwarmCopy(controls, i, 0.0f).scale, atA.scale * 1.5f, 1e-5f);
    controls.pulse = 0.0f;
    EXPECT_GT(atA.scale, 0.2f * 0.59f);
    EXPECT_LT(atA.scale, 0.2f * 1.41f);
    controls.brightness = 0.5f;
    EXPECT_NEAR(PlaceSwarmCopy(controls, i, 0.0f).colour[2], atA.colour[2] * 0.5f, 1e-5f);
    controls.brightness = 1.0f;
    EXPECT_NEAR(Length(atA.axis), 1.0f, 1e-4f);
  }
}

// Only a scene that asks for it by its prefix gets it: another author's "swarm" scenes are drawn
// as they say.
TEST(SwarmCut, TakesOverOnlyTheScenesThatAskForItAndStartsEmptyWithoutARenderer) {
  std::unique_ptr<CSceneTdfDefault> cut = CreateSceneCut(std::string(SWARM_SCENE_PREFIX) + "_finale");
  ASSERT_TRUE(cut);
  EXPECT_STREQ(cut->GetRuntimeClass()->mName, SWARM_CLASS_NAME);
  for (const char* other : {"swarm", "swarm_finale", "swarms", "torvane:swar", "Torvane:swarm_a"}) {
    EXPECT_STREQ(CreateSceneCut(other)->GetRuntimeClass()->mName, "CSceneTdfDefault") << other;
  }
  auto* swarm = static_cast<CSceneTdf_swarm*>(cut.get());
  swarm->Start(nullptr);
  EXPECT_EQ(swarm->Copies(), nullptr) << "nothing to copy without the scene's objects";
}

}  // namespace
