// The engine host without the player's window, as the headless demo and the developer mode use
// it: the clock the front end gives is the one the timeline reads, the front end's target is made
// between the managers' start and the loading, and a stop gives back the pack so that the engine
// starts again in the same process.
#include <gtest/gtest.h>

#include "core/manager.h"
#include "demo/demo_manager.h"
#include "demo/engine_session.h"
#include "files/pack_file.h"
#include "platform/hidden_gl_context.h"
#include "shell/settings_manager.h"
#include "shell/system_manager.h"
#include "tests/support/test_paths.h"

namespace {

// Counts up by a step per reading: a clock no other strategy would give.
class CountingClock : public DemoClock {
 public:
  void Restart() override { mTime = 0; }
  uint32_t Read() override { return mTime += 7; }

 private:
  uint32_t mTime = 0;
};

EngineOptions HeadlessEngine() {
  EngineOptions options;
  options.playerWindow = false;
  options.packPath = BinaryPath("test-production/torvane.pak");
  options.frame.width = 64;
  options.frame.height = 36;
  return options;
}

TEST(EngineSession, LeavesOutExactlyTheWindowAndTheLauncherWithoutThePlayersWindow) {
  const ManagerList& list = TheManagerList();
  int left = 0;
  for (unsigned i = 0; i < list.mCount; ++i) left += !TakesPartWithoutLauncher(*list.mEntries[i]);
  EXPECT_EQ(left, 2);
  EXPECT_FALSE(TakesPartWithoutLauncher(gSystemManager));
  EXPECT_FALSE(TakesPartWithoutLauncher(gSettingsManager));
  EXPECT_TRUE(TakesPartWithoutLauncher(gDemoManager));
}

TEST(EngineSession, StartsWithTheFrontEndsClockAndTargetAndStartsAgainAfterAStop) {
  platform::HiddenGLContext context;
  ASSERT_TRUE(context.Create(64, 36)) << context.Error();
  size_t loadedLines = 0;
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    EngineOptions options = HeadlessEngine();
    options.clock = std::make_unique<CountingClock>();
    bool managersStarted = false;
    bool scenesBeforeLoading = true;
    options.beforeLoading = [&] {
      managersStarted = gDemoManager.Composer().FinalBuffer() != nullptr;
      scenesBeforeLoading = gDemoManager.SceneOf(0) != nullptr;
    };
    EngineSession engine;
    std::string error;
    ASSERT_TRUE(engine.Start(std::move(options), error)) << error;
    EXPECT_TRUE(managersStarted) << "the target is made once the managers have started";
    EXPECT_FALSE(scenesBeforeLoading) << "and before the production loads";
    EXPECT_NE(gDemoManager.SceneOf(0), nullptr);
    if (run == 0) loadedLines = gDemoManager.SceneLines().size();
    EXPECT_EQ(gDemoManager.SceneLines().size(), loadedLines);
    EXPECT_EQ(gSettingsManager.GetWidth(), 64);
    EXPECT_EQ(gDemoManager.GetDemoTime(), 7u);
    EXPECT_EQ(gDemoManager.GetDemoTime(), 14u);
    EXPECT_TRUE(PackageIsOpen());
    engine.Stop();
    EXPECT_FALSE(engine.IsStarted());
    EXPECT_FALSE(PackageIsOpen()) << "the host closes the pack it opened";
  }
}

TEST(EngineSession, WithoutAClockTheTimelineStandsAtZero) {
  platform::HiddenGLContext context;
  ASSERT_TRUE(context.Create(64, 36)) << context.Error();
  EngineSession engine;
  std::string error;
  ASSERT_TRUE(engine.Start(HeadlessEngine(), error)) << error;
  EXPECT_EQ(gDemoManager.GetDemoTime(), 0u);
  EXPECT_EQ(gDemoManager.GetDemoTime(), 0u);
}

}  // namespace
