// What the page passes to the browser player, taken apart as the player does.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "web/web_arguments.h"

namespace {

struct Parsed {
  bool ok;
  WebArguments arguments;
  std::string error;
};

Parsed Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "torvane");
  Parsed parsed;
  parsed.ok = ParseWebArguments(static_cast<int>(args.size()), args.data(), parsed.arguments, parsed.error);
  return parsed;
}

TEST(WebArguments, ThePagesSettingsBecomeTheFrame) {
  Parsed parsed = Parse({"--size", "1280x720", "--aspect", "4:3", "--fsaa", "4"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_EQ(parsed.arguments.frame.width, 1280);
  EXPECT_EQ(parsed.arguments.frame.height, 720);
  EXPECT_EQ(parsed.arguments.frame.aspectWidth, 4);
  EXPECT_EQ(parsed.arguments.frame.aspectHeight, 3);
  EXPECT_EQ(parsed.arguments.frame.fsaaLevel, 4);
  EXPECT_FALSE(parsed.arguments.frame.lowQuality);
  EXPECT_FALSE(parsed.arguments.at.has_value());
}

TEST(WebArguments, LowQualityTurnsMultisamplingOffAndAtPausesOnOneFrame) {
  Parsed parsed = Parse({"--fsaa", "8", "--low-quality", "--at", "4500"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_TRUE(parsed.arguments.frame.lowQuality);
  EXPECT_EQ(parsed.arguments.frame.fsaaLevel, 0);
  ASSERT_TRUE(parsed.arguments.at.has_value());
  EXPECT_EQ(*parsed.arguments.at, 4500u);
}

TEST(WebArguments, WhatALinkCanHoldThatIsWrongIsNamed) {
  const struct {
    std::vector<const char*> args;
    const char* named;
  } cases[] = {
      {{"--at", "soon"}, "--at wants milliseconds, not \"soon\""},
      {{"--at", "-5"}, "--at wants milliseconds"},
      {{"--at", "12x"}, "--at wants milliseconds"},
      {{"--at", ""}, "--at wants milliseconds"},
      {{"--at"}, "--at needs a value"},
      {{"--fsaa", "3"}, "fsaa"},
      {{"--aspect", "wide"}, "aspect"},
      {{"--volume", "3"}, "--volume"},
  };
  for (const auto& c : cases) {
    Parsed parsed = Parse(c.args);
    EXPECT_FALSE(parsed.ok) << c.named;
    EXPECT_NE(parsed.error.find(c.named), std::string::npos) << parsed.error;
  }
}

}  // namespace
