#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "core/flag_manager.h"
#include "core/manager.h"
#include "core/profile_manager.h"
#include "demo/application_manager.h"
#include "render/camera_manager.h"
#include "render/light_manager.h"

namespace {

TEST(FlagManager, RegistersTheRendererFlagsOffAtStart) {
  ASSERT_TRUE(gFlagManager.Initialize());
  EXPECT_FALSE(gFlagManager.IsFlagSet("RENDERER_WIREFRAME"));
  EXPECT_FALSE(gFlagManager.IsFlagSet("RENDERER_NO_TEXTURE"));
  gFlagManager.FrameUpdate();
  EXPECT_GE(gFlagManager.FlagCountSeen(), 2);
}

TEST(FlagManager, AddKeepsAnExistingValueAndSetIgnoresUnknownNames) {
  gFlagManager.AddFlag("TEST_KEEP", 5);
  gFlagManager.AddFlag("TEST_KEEP", 9);
  EXPECT_EQ(gFlagManager.GetFlag("TEST_KEEP"), 5);

  gFlagManager.SetFlag("TEST_NEVER_ADDED", 3);
  EXPECT_EQ(gFlagManager.GetFlag("TEST_NEVER_ADDED"), 0);
  gFlagManager.AddFlag("TEST_NEVER_ADDED", 7);
  EXPECT_EQ(gFlagManager.GetFlag("TEST_NEVER_ADDED"), 7) << "the earlier SetFlag must not have created it";

  gFlagManager.SetFlagOn("TEST_KEEP");
  EXPECT_EQ(gFlagManager.GetFlag("TEST_KEEP"), 1);
  gFlagManager.SetFlagOff("TEST_KEEP");
  EXPECT_FALSE(gFlagManager.IsFlagSet("TEST_KEEP"));
  gFlagManager.SetFlag("TEST_KEEP", -4);
  EXPECT_TRUE(gFlagManager.IsFlagSet("TEST_KEEP"));
}

TEST(FlagManager, CountSeenFollowsTheMapAtEachFrame) {
  gFlagManager.FrameUpdate();
  int32_t before = gFlagManager.FlagCountSeen();
  gFlagManager.AddFlag("TEST_COUNTED", 0);
  EXPECT_EQ(gFlagManager.FlagCountSeen(), before);
  gFlagManager.FrameUpdate();
  EXPECT_EQ(gFlagManager.FlagCountSeen(), before + 1);
}

TEST(ProfileManager, FrameTimeIsZeroUntilTheFirstFrameEndsThenCoversTheFrame) {
  EXPECT_EQ(gProfileManager.FrameTime(), 0.0f);
  gProfileManager.FrameBegin();
  std::this_thread::sleep_for(std::chrono::milliseconds(3));
  gProfileManager.FrameEnd();
  EXPECT_GE(gProfileManager.FrameTime(), 3.0f);
  EXPECT_LT(gProfileManager.FrameTime(), 10000.0f);
}

TEST(PlaceholderManagers, StartAndStopCleanlyAtTheirPriorities) {
  EXPECT_EQ(gCameraManager.GetPriority(), 1);
  EXPECT_EQ(gLightManager.GetPriority(), 1);
  EXPECT_EQ(gApplicationManager.GetPriority(), 65535);
  for (InterfaceBase* manager : {static_cast<InterfaceBase*>(&gCameraManager), static_cast<InterfaceBase*>(&gLightManager),
                                 static_cast<InterfaceBase*>(&gApplicationManager)}) {
    EXPECT_TRUE(manager->Initialize());
    EXPECT_TRUE(manager->FrameUpdate());
    EXPECT_TRUE(manager->Terminate());
  }
}

}  // namespace
