#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "demo/scene_manager.h"

namespace {

std::vector<std::string> gEvents;

class TestSceneAlpha : public ManagedScene {
  CORE_DECLARE_DYNAMIC(TestSceneAlpha)
  void OnEnter() override { gEvents.push_back("alpha enter"); }
  void OnLeave() override { gEvents.push_back("alpha leave"); }
  bool OnUpdate() override {
    gEvents.push_back("alpha update");
    return true;
  }
  void OnDraw() override { gEvents.push_back("alpha draw"); }
};

class TestSceneBeta : public ManagedScene {
  CORE_DECLARE_DYNAMIC(TestSceneBeta)
  void OnEnter() override { gEvents.push_back("beta enter"); }
  void OnLeave() override { gEvents.push_back("beta leave"); }
  bool OnUpdate() override {
    gEvents.push_back("beta update");
    return false;
  }
  void OnDraw() override { gEvents.push_back("beta draw"); }
};

}  // namespace

CORE_IMPLEMENT_DYNAMIC(TestSceneAlpha, CoreObject)
CORE_IMPLEMENT_DYNAMIC(TestSceneBeta, CoreObject)

namespace {

class SceneManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { gEvents.clear(); }
  void TearDown() override { gSceneManager.Terminate(); }
};

TEST_F(SceneManagerTest, AChangedSceneIsCreatedEnteredUpdatedAndDrawnInTheNextFrame) {
  gSceneManager.ChangeScene("TestSceneAlpha");
  EXPECT_EQ(gSceneManager.CurrentScene(), nullptr);
  EXPECT_TRUE(gSceneManager.FrameUpdate());
  EXPECT_EQ(gEvents, (std::vector<std::string>{"alpha enter", "alpha update", "alpha draw"}));
  EXPECT_EQ(gSceneManager.PreviousScene(), nullptr);
  ASSERT_NE(gSceneManager.CurrentScene(), nullptr);
  EXPECT_STREQ(gSceneManager.CurrentScene()->GetRuntimeClass()->mName, "TestSceneAlpha");
}

TEST_F(SceneManagerTest, ChangingLeavesTheOldSceneAndAFalseUpdateSkipsTheDraw) {
  gSceneManager.ChangeScene("TestSceneAlpha");
  gSceneManager.FrameUpdate();
  gEvents.clear();
  gSceneManager.ChangeScene("TestSceneBeta");
  gSceneManager.FrameUpdate();
  EXPECT_EQ(gEvents, (std::vector<std::string>{"alpha leave", "beta enter", "beta update"}));
}

TEST_F(SceneManagerTest, PopResumesThePushedSceneWithoutEnteringItAgain) {
  gSceneManager.ChangeScene("TestSceneAlpha");
  gSceneManager.FrameUpdate();
  ManagedScene* alpha = gSceneManager.CurrentScene();
  gSceneManager.PushScene("TestSceneBeta");
  gSceneManager.FrameUpdate();
  EXPECT_EQ(gSceneManager.StackSize(), 1u);
  gEvents.clear();

  gSceneManager.PopScene();
  EXPECT_EQ(gSceneManager.CurrentScene(), alpha);
  EXPECT_EQ(gSceneManager.StackSize(), 0u);
  gSceneManager.FrameUpdate();
  EXPECT_EQ(gEvents, (std::vector<std::string>{"beta leave", "alpha update", "alpha draw"}));
}

TEST_F(SceneManagerTest, PopWithAnEmptyStackDropsTheCurrentSceneWithoutLeavingIt) {
  gSceneManager.ChangeScene("TestSceneAlpha");
  gSceneManager.FrameUpdate();
  gEvents.clear();
  gSceneManager.PopScene();
  EXPECT_EQ(gSceneManager.CurrentScene(), nullptr);
  EXPECT_TRUE(gEvents.empty());
}

TEST_F(SceneManagerTest, TerminateLeavesTheStackBottomFirstThenTheCurrentScene) {
  gSceneManager.ChangeScene("TestSceneAlpha");
  gSceneManager.FrameUpdate();
  gSceneManager.PushScene("TestSceneBeta");
  gSceneManager.FrameUpdate();
  gSceneManager.PushScene("TestSceneAlpha");
  gSceneManager.FrameUpdate();
  gEvents.clear();
  EXPECT_TRUE(gSceneManager.Terminate());
  EXPECT_EQ(gEvents, (std::vector<std::string>{"alpha leave", "beta leave", "alpha leave"}));
  EXPECT_EQ(gSceneManager.CurrentScene(), nullptr);
  EXPECT_EQ(gSceneManager.StackSize(), 0u);
}

TEST_F(SceneManagerTest, UnknownNamesAndClassesThatAreNotScenesYieldNoScene) {
  EXPECT_EQ(gSceneManager.CreateScene("NoSuchScene"), nullptr);
  EXPECT_EQ(gSceneManager.CreateScene("CoreObject"), nullptr);
  gSceneManager.ChangeScene("NoSuchScene");
  EXPECT_TRUE(gSceneManager.FrameUpdate());
  EXPECT_EQ(gSceneManager.CurrentScene(), nullptr);
  EXPECT_TRUE(gSceneManager.Terminate());
  EXPECT_TRUE(gEvents.empty());
}

}  // namespace
