// The developer mode's command line and keys.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dev/dev_keys.h"
#include "dev/dev_options.h"
#include "platform/key_codes.h"

namespace {

TEST(DevOptions, ReadsEveryOptionAndFillsTheDefaults) {
  DevOptions options;
  std::string error;
  ASSERT_TRUE(ParseDevOptions({"--content", "work/prod", "--size", "640x360", "--fsaa", "4", "--aspect", "4:3",
                               "--control", "/tmp/s", "--play"},
                              options, error))
      << error;
  EXPECT_EQ(options.packPath, "") << "a content folder alone needs no pack";
  EXPECT_EQ(options.contentPath, "work/prod");
  EXPECT_EQ(options.musicPath, "work/prod/music.ogg") << "no work/prod/music/music.ogg here";
  EXPECT_EQ(options.controlPath, "/tmp/s");
  EXPECT_EQ(options.frame.width, 640);
  EXPECT_EQ(options.frame.height, 360);
  EXPECT_EQ(options.frame.fsaaLevel, 4);
  EXPECT_EQ(options.frame.aspectWidth, 4);
  EXPECT_EQ(options.frame.aspectHeight, 3);
  EXPECT_TRUE(options.play);

  ASSERT_TRUE(ParseDevOptions({}, options, error));
  EXPECT_EQ(options.packPath, "torvane.pak") << "the player's pack, in the working folder";
  EXPECT_EQ(options.musicPath, "music.ogg");
  EXPECT_EQ(options.frame.width, 1280);
  EXPECT_EQ(options.frame.height, 720);
  EXPECT_FALSE(options.play);

  ASSERT_TRUE(ParseDevOptions({"--pack", "out/demo.pak", "--content", "src", "--music", "m.wav", "--fsaa", "8",
                               "--low-quality"},
                              options, error));
  EXPECT_EQ(options.packPath, "out/demo.pak");
  EXPECT_EQ(options.contentPath, "src");
  EXPECT_EQ(options.musicPath, "m.wav");
  EXPECT_EQ(options.frame.fsaaLevel, 0) << "low quality renders each line once";

  // The tools' spelling is an alias: each sets its one side, in the order given.
  ASSERT_TRUE(ParseDevOptions({"--width", "800", "--height", "450"}, options, error)) << error;
  EXPECT_EQ(options.frame.width, 800);
  EXPECT_EQ(options.frame.height, 450);
  ASSERT_TRUE(ParseDevOptions({"--size", "640x360", "--height", "480"}, options, error)) << error;
  EXPECT_EQ(options.frame.width, 640);
  EXPECT_EQ(options.frame.height, 480);
}

TEST(DevOptions, RefusesBadCommandLinesSayingWhy) {
  struct Case {
    std::vector<std::string> args;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {{"--size", "640"}, "--size must be WxH"},
      {{"--size", "0x100"}, "--size must be WxH"},
      {{"--size", "20000x100"}, "--size must be WxH"},
      {{"--size", "640x-360"}, "--size must be WxH"},
      {{"--width", "0"}, "--width must be positive"},
      {{"--height", "72O"}, "--height must be positive"},
      {{"--fsaa", "3"}, "--fsaa must be 0, 2, 4 or 8"},
      {{"--aspect", "16-9"}, "--aspect must be A:B"},
      {{"--pack"}, "--pack needs a value"},
      {{"--fullscreen", "1"}, "unknown option --fullscreen"},
      {{"stray"}, "unexpected argument stray"},
  };
  for (const Case& c : cases) {
    DevOptions options;
    std::string error;
    EXPECT_FALSE(ParseDevOptions(c.args, options, error)) << c.args[0];
    EXPECT_EQ(error, c.reason);
  }
}

TEST(DevKeys, EachKeyDoesWhatTheKeyListSays) {
  using namespace platform;
  struct Case {
    uint32_t key;
    bool shift;
    DevAction action;
  };
  const std::vector<Case> cases = {
      {KEY_SPACE, false, DevAction::TogglePlay},          {KEY_LEFT, false, DevAction::SeekBackSecond},
      {KEY_RIGHT, false, DevAction::SeekForwardSecond},   {KEY_LEFT, true, DevAction::SeekBackTen},
      {KEY_RIGHT, true, DevAction::SeekForwardTen},       {KEY_PRIOR, false, DevAction::PreviousBoundary},
      {KEY_NEXT, false, DevAction::NextBoundary},         {KEY_HOME, false, DevAction::SeekStart},
      {KEY_LEFT_BRACKET, false, DevAction::LoopIn},       {KEY_RIGHT_BRACKET, false, DevAction::LoopOut},
      {'L', false, DevAction::ToggleLoop},                {'M', false, DevAction::ToggleMute},
      {'S', false, DevAction::ToggleHalfSpeed},           {KEY_F1, false, DevAction::ToggleInterface},
      {KEY_F3, false, DevAction::Screenshot},             {KEY_F5, false, DevAction::ReloadAll},
      {KEY_ESCAPE, false, DevAction::None},               {'Q', false, DevAction::None},
  };
  for (const Case& c : cases) EXPECT_EQ(DevActionForKey(c.key, c.shift), c.action) << c.key;
}

}  // namespace
