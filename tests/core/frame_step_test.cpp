#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/frame_step.h"
#include "core/manager.h"

namespace {

class HookRecorder : public InterfaceBase {
 public:
  HookRecorder(ManagerList& list, std::vector<std::string>& log, std::string name)
      : InterfaceBase(list), mLog(log), mName(std::move(name)) {}

  bool Initialize() override { return Note("Initialize"); }
  bool Terminate() override { return Note("Terminate"); }
  bool FrameBegin() override { return Note("FrameBegin"); }
  bool FrameUpdate() override { return Note("FrameUpdate"); }
  bool FrameEnd() override { return Note("FrameEnd"); }

  bool mResult = true;

 private:
  bool Note(const char* hook) {
    mLog.push_back(mName + "." + hook);
    return mResult;
  }
  std::vector<std::string>& mLog;
  std::string mName;
};

struct FrameStepTest : ::testing::Test {
  ManagerList list{};
  std::vector<std::string> log;
  HookRecorder profile{list, log, "profile"};
  HookRecorder flags{list, log, "flags"};
  HookRecorder system{list, log, "system"};
  HookRecorder renderer{list, log, "renderer"};
  HookRecorder demo{list, log, "demo"};
  FrameHooks hooks{&profile, &flags, &system, &renderer, &demo};

  const std::vector<std::string> EIGHT_HOOKS{
      "profile.FrameBegin", "flags.FrameUpdate",    "system.FrameUpdate", "renderer.FrameBegin",
      "demo.FrameUpdate",   "renderer.FrameUpdate", "profile.FrameEnd",   "renderer.FrameEnd"};
};

TEST_F(FrameStepTest, CallsExactlyTheEightHooksInOrder) {
  EXPECT_TRUE(RunFrame(hooks));
  EXPECT_EQ(log, EIGHT_HOOKS);
}

TEST_F(FrameStepTest, TheDemoEndingTheLoopStillLetsTheFrameBeExecutedAndPresented) {
  demo.mResult = false;
  EXPECT_FALSE(RunFrame(hooks));
  EXPECT_EQ(log, EIGHT_HOOKS);
}

TEST_F(FrameStepTest, OnlyTheDemoDecides) {
  profile.mResult = flags.mResult = system.mResult = renderer.mResult = false;
  EXPECT_TRUE(RunFrame(hooks));
}

}  // namespace
