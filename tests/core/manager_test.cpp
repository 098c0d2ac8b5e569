#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/critical.h"
#include "core/manager.h"
#include "shell/settings_manager.h"
#include "shell/system_manager.h"
#include "tests/support/critical_exit.h"

namespace {

// A manager of the test's own, registered in a list of the test's own.
class RecordingManager : public InterfaceBase {
 public:
  RecordingManager(ManagerList& list, std::vector<std::string>& log, std::string name, uint16_t priority)
      : InterfaceBase(list), mLog(log), mName(std::move(name)), mPriority(priority) {}

  uint16_t GetPriority() const override { return mPriority; }
  bool Initialize() override {
    mLog.push_back("start " + mName);
    return mInitializeResult;
  }
  bool Terminate() override {
    mLog.push_back("stop " + mName);
    return mTerminateResult;
  }

  bool mInitializeResult = true;
  bool mTerminateResult = true;

 private:
  std::vector<std::string>& mLog;
  std::string mName;
  uint16_t mPriority;
};

class ManagerListTest : public ::testing::Test {
 protected:
  RecordingManager& Add(const std::string& name, uint16_t priority) {
    mManagers.push_back(std::make_unique<RecordingManager>(mList, mLog, name, priority));
    return *mManagers.back();
  }

  ManagerList mList{};
  std::vector<std::string> mLog;
  std::vector<std::unique_ptr<RecordingManager>> mManagers;
};

TEST_F(ManagerListTest, StartsByAscendingPriorityAndStopsByDescendingWithTiesInListOrder) {
  Add("last", 65535);
  Add("a1", 1);
  Add("b2", 2);
  Add("c1", 1);
  Add("first", 0);
  EXPECT_TRUE(InitializeAll(mList));
  EXPECT_TRUE(TerminateAll(mList));
  EXPECT_EQ(mLog, (std::vector<std::string>{"start first", "start a1", "start c1", "start b2", "start last",
                                            "stop last", "stop b2", "stop a1", "stop c1", "stop first"}));
}

TEST_F(ManagerListTest, AFailedStartStopsTheWalkAndStopsNothing) {
  Add("a", 1);
  Add("broken", 2).mInitializeResult = false;
  Add("c", 2);
  Add("d", 3);
  EXPECT_FALSE(InitializeAll(mList));
  EXPECT_EQ(mLog, (std::vector<std::string>{"start a", "start broken"}));
}

TEST_F(ManagerListTest, AFailedStopLeavesLowerPrioritiesAndLaterTiesRunning) {
  Add("low", 1);
  Add("broken", 5).mTerminateResult = false;
  Add("tie", 5);
  Add("high", 9);
  EXPECT_FALSE(TerminateAll(mList));
  EXPECT_EQ(mLog, (std::vector<std::string>{"stop high", "stop broken"}));
}

TEST_F(ManagerListTest, AnEmptyListStartsAndStops) {
  EXPECT_TRUE(InitializeAll(mList));
  EXPECT_TRUE(TerminateAll(mList));
  EXPECT_TRUE(mLog.empty());
}

using ManagerListDeathTest = ManagerListTest;

TEST_F(ManagerListDeathTest, ASixtyFifthManagerIsCriticalInsteadOfAWritePastTheTable) {
  for (int i = 0; i < MANAGER_LIST_SIZE; ++i) Add("m" + std::to_string(i), 1);
  EXPECT_EQ(mList.mCount, 64u);
  EXPECT_CRITICAL_EXIT(Add("one too many", 1), CRITICAL_MANAGER_LIST_FULL);
}

TEST(EngineManagers, SeventeenRegisterInTheirTableOrderWithTheirPriorities) {
  struct Expected {
    const char* name;
    uint16_t priority;
  };
  const Expected expected[] = {
      {"systemManager", 2},        {"resourceManager", 65535},  {"textureManager", 32},
      {"messageManager", 32},      {"intermediateCommand", 17}, {"flagManager", 65535},
      {"sceneManager", 65535},     {"rendererManager", 16},     {"profileManager", 65535},
      {"cameraManager", 1},        {"lightManager", 1},         {"customTextureManager", 1},
      {"cPostEffectManager", 1},   {"applicationManager", 65535}, {"settingsManager", 1},
      {"demoManager", 256},        {"shaderManager", 1},
  };
  const ManagerList& list = TheManagerList();
  ASSERT_GE(list.mCount, 17u);
  for (unsigned i = 0; i < 17; ++i) {
    EXPECT_STREQ(list.mEntries[i]->GetRuntimeClass()->mName, expected[i].name) << "entry " << i;
    EXPECT_EQ(list.mEntries[i]->GetPriority(), expected[i].priority) << expected[i].name;
    EXPECT_TRUE(list.mEntries[i]->IsKindOf("InterfaceBase"));
  }
  EXPECT_EQ(list.mEntries[0], &gSystemManager);
  EXPECT_EQ(list.mEntries[14], &gSettingsManager);
}

}  // namespace
