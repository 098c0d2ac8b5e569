#include <gtest/gtest.h>

#include "platform/events.h"
#include "platform/key_codes.h"
#include "platform/timer.h"
#include "platform/window.h"
#include "shell/big_screen_wait.h"
#include "shell/system_manager.h"

namespace {

struct Heard {
  uint32_t key = 0;
  int wheel = 0;
  int x = -1;
  int y = -1;
  int pressed = -1;
  int released = -1;
};

Heard gHeard;

void InstallRecordingListeners() {
  gHeard = Heard{};
  gSystemManager.SetKeyReleasedListener({&gHeard, [](void* h, uint32_t key) { static_cast<Heard*>(h)->key = key; }});
  gSystemManager.SetWheelListener({&gHeard, [](void* h, int delta) { static_cast<Heard*>(h)->wheel = delta; }});
  gSystemManager.SetMouseMovedListener({&gHeard, [](void* h, int x, int y) {
    static_cast<Heard*>(h)->x = x;
    static_cast<Heard*>(h)->y = y;
  }});
  gSystemManager.SetButtonPressedListener(
      {&gHeard, [](void* h, int, int, int button) { static_cast<Heard*>(h)->pressed = button; }});
  gSystemManager.SetButtonReleasedListener(
      {&gHeard, [](void* h, int, int, int button) { static_cast<Heard*>(h)->released = button; }});
}

platform::Event MakeEvent(platform::EventType type) {
  platform::Event event;
  event.type = type;
  return event;
}

TEST(SystemManagerPause, AStepWhilePausedRunsExactlyOneFrame) {
  EXPECT_FALSE(gSystemManager.RequestStep()) << "no step while running";
  gSystemManager.FrameUpdate();
  EXPECT_FALSE(gSystemManager.IsPaused());

  gSystemManager.Pause();
  gSystemManager.FrameUpdate();
  EXPECT_TRUE(gSystemManager.IsPaused());
  EXPECT_TRUE(gSystemManager.RequestStep());
  gSystemManager.FrameUpdate();
  EXPECT_FALSE(gSystemManager.IsPaused()) << "the stepped frame runs";
  gSystemManager.FrameUpdate();
  EXPECT_TRUE(gSystemManager.IsPaused()) << "and the next one pauses again";
  gSystemManager.FrameUpdate();
  EXPECT_TRUE(gSystemManager.IsPaused());
  gSystemManager.Resume();
  gSystemManager.FrameUpdate();
  EXPECT_FALSE(gSystemManager.IsPaused());
}

TEST(SystemManagerInput, EventsReachTheirListenersAndEmptySlotsAreSkipped) {
  gSystemManager.SetKeyReleasedListener({});
  platform::Event keyUp = MakeEvent(platform::EventType::KeyUp);
  keyUp.key = 'P';
  EXPECT_EQ(systemManager::WindowProcedure(nullptr, keyUp), 0);

  InstallRecordingListeners();
  systemManager::WindowProcedure(nullptr, keyUp);
  EXPECT_EQ(gHeard.key, static_cast<uint32_t>('P'));
  platform::Event wheel = MakeEvent(platform::EventType::Wheel);
  wheel.wheelDelta = -240;
  systemManager::WindowProcedure(nullptr, wheel);
  EXPECT_EQ(gHeard.wheel, -240);
  platform::Event move = MakeEvent(platform::EventType::MouseMove);
  move.x = -3;
  move.y = 17;
  systemManager::WindowProcedure(nullptr, move);
  EXPECT_EQ(gHeard.x, -3);
  EXPECT_EQ(gHeard.y, 17);
  platform::Event press = MakeEvent(platform::EventType::ButtonDown);
  press.button = 2;
  systemManager::WindowProcedure(nullptr, press);
  EXPECT_EQ(gHeard.pressed, 2);
  platform::Event release = MakeEvent(platform::EventType::ButtonUp);
  release.button = 1;
  systemManager::WindowProcedure(nullptr, release);
  EXPECT_EQ(gHeard.released, 1);
  gSystemManager.SetKeyReleasedListener({});
  gSystemManager.SetWheelListener({});
  gSystemManager.SetMouseMovedListener({});
  gSystemManager.SetButtonPressedListener({});
  gSystemManager.SetButtonReleasedListener({});
}

TEST(SystemManagerInput, AltF4PostsAQuitWithCodeZeroAndOtherSystemKeysDoNot) {
  ASSERT_TRUE(platform::StartVideo()) << platform::LastWindowError();
  platform::Event drained;
  while (platform::PollEvent(&drained)) {
  }
  platform::Event altX = MakeEvent(platform::EventType::SysKeyDown);
  altX.key = 'X';
  EXPECT_EQ(systemManager::WindowProcedure(nullptr, altX), 0);
  platform::Event event;
  bool quit = false;
  while (platform::PollEvent(&event)) quit = quit || event.type == platform::EventType::Quit;
  EXPECT_FALSE(quit);

  platform::Event altF4 = MakeEvent(platform::EventType::SysKeyDown);
  altF4.key = platform::KEY_F4;
  EXPECT_EQ(systemManager::WindowProcedure(nullptr, altF4), 0);
  ASSERT_TRUE(platform::PollEvent(&event));
  EXPECT_EQ(event.type, platform::EventType::Quit);
  EXPECT_EQ(event.param, 0u);
  platform::StopVideo();
}

TEST(EventTranslation, EscapeTypesCharacter27AndOrdinaryKeysTypeNothing) {
  ASSERT_TRUE(platform::StartVideo()) << platform::LastWindowError();
  platform::Event event;
  while (platform::PollEvent(&event)) {
  }
  platform::Event letter = MakeEvent(platform::EventType::KeyDown);
  letter.key = 'A';
  platform::TranslateEvent(letter);
  EXPECT_FALSE(platform::PollEvent(&event));
  platform::Event escape = MakeEvent(platform::EventType::KeyDown);
  escape.key = platform::KEY_ESCAPE;
  platform::TranslateEvent(escape);
  ASSERT_TRUE(platform::PollEvent(&event));
  EXPECT_EQ(event.type, platform::EventType::Char);
  EXPECT_EQ(event.character, platform::KEY_ESCAPE);
  EXPECT_EQ(event.param, 27u);
  platform::StopVideo();
}

TEST(KeyCodes, FollowTheVirtualKeyNumbering) {
  EXPECT_EQ(platform::KeyCodeFromSdl(27), 27u);     // SDLK_ESCAPE
  EXPECT_EQ(platform::KeyCodeFromSdl('a'), static_cast<uint32_t>('A'));
  EXPECT_EQ(platform::KeyCodeFromSdl('7'), static_cast<uint32_t>('7'));
  EXPECT_EQ(platform::KeyCodeFromSdl((1 << 30) | 61), platform::KEY_F4);  // SDLK_F4
  EXPECT_EQ(platform::KeyCodeFromSdl((1 << 30) | 58), platform::KEY_F1);  // SDLK_F1
  EXPECT_EQ(platform::KeyCodeFromSdl(-5), 0u);
}

}  // namespace

namespace {

class BigScreenWait : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::StartVideo()) << platform::LastWindowError();
    platform::Event event;
    while (platform::PollEvent(&event)) {
    }
  }
  void TearDown() override { platform::StopVideo(); }
};

TEST_F(BigScreenWait, RunsItsTimeOutWhenNothingHappens) {
  uint32_t start = platform::TimeGetTime();
  EXPECT_TRUE(WaitForBigScreen(60));
  EXPECT_GE(platform::TimeGetTime() - start, 60u);
}

TEST_F(BigScreenWait, AnEscapeKeyPressCallsTheStartOffThroughItsCharacter) {
  platform::Event escape;
  escape.type = platform::EventType::KeyDown;
  escape.key = platform::KEY_ESCAPE;
  platform::TranslateEvent(escape);
  EXPECT_FALSE(WaitForBigScreen(5000));
}

TEST_F(BigScreenWait, AQuitCallsTheStartOff) {
  platform::PostQuit(0);
  EXPECT_FALSE(WaitForBigScreen(5000));
}

}  // namespace
