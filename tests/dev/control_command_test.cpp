// The control channel's request lines: each one either is a command with its arguments or is
// refused with a reason that names what is wrong.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dev/control_command.h"
#include "files/json_value.h"

namespace {

TEST(ControlCommand, ReadsEveryCommandWithItsArguments) {
  ControlCommand command;
  std::string error;
  ASSERT_TRUE(ParseControlCommand(R"({"cmd":"state"})", command, error)) << error;
  EXPECT_EQ(command.kind, ControlCommandKind::State);
  ASSERT_TRUE(ParseControlCommand(R"( {"ms": 4294967295, "cmd":"seek"} )", command, error)) << error;
  EXPECT_EQ(command.kind, ControlCommandKind::Seek);
  EXPECT_EQ(command.ms, 4294967295u);
  ASSERT_TRUE(ParseControlCommand(R"({"cmd":"loop","from":1000,"to":2500})", command, error)) << error;
  EXPECT_EQ(command.kind, ControlCommandKind::Loop);
  EXPECT_EQ(command.from, 1000u);
  EXPECT_EQ(command.to, 2500u);
  ASSERT_TRUE(ParseControlCommand(R"({"cmd":"loop","off":true})", command, error)) << error;
  EXPECT_EQ(command.kind, ControlCommandKind::LoopOff);
  ASSERT_TRUE(ParseControlCommand(R"({"cmd":"reload"})", command, error)) << error;
  EXPECT_EQ(command.kind, ControlCommandKind::Reload);
  EXPECT_EQ(command.path, "");
  ASSERT_TRUE(ParseControlCommand(R"({"cmd":"reload","path":"data\\texture\\sky.png"})", command, error)) << error;
  EXPECT_EQ(command.path, "data\\texture\\sky.png");
  ASSERT_TRUE(ParseControlCommand(R"({"cmd":"screenshot","path":"/tmp/a.png"})", command, error)) << error;
  EXPECT_EQ(command.kind, ControlCommandKind::Screenshot);
  EXPECT_EQ(command.path, "/tmp/a.png");
  for (const char* name : {"play", "pause", "quit"}) {
    ASSERT_TRUE(ParseControlCommand(std::string(R"({"cmd":")") + name + "\"}", command, error)) << name;
  }
  EXPECT_EQ(command.kind, ControlCommandKind::Quit);
}

TEST(ControlCommand, ReadsTheTrackRequests) {
  ControlCommand command;
  std::string error;
  ASSERT_TRUE(ParseControlCommand(R"({"cmd":"tracks"})", command, error)) << error;
  EXPECT_EQ(command.kind, ControlCommandKind::Tracks);
  ASSERT_TRUE(ParseControlCommand(R"({"cmd":"track","name":"cam:shake"})", command, error)) << error;
  EXPECT_EQ(command.kind, ControlCommandKind::Track);
  EXPECT_EQ(command.track, "cam:shake");
  ASSERT_TRUE(ParseControlCommand(R"({"cmd":"set_key","track":"fade","row":16,"value":-0.5,"interpolation":"smooth"})",
                                  command, error))
      << error;
  EXPECT_EQ(command.kind, ControlCommandKind::SetKey);
  EXPECT_EQ(command.row, 16u);
  EXPECT_EQ(command.value, -0.5f);
  EXPECT_EQ(command.interpolation, 2);
  ASSERT_TRUE(ParseControlCommand(R"({"cmd":"set_key","track":"fade","row":0,"value":1,"interpolation":3})", command, error));
  EXPECT_EQ(command.interpolation, 3);
  ASSERT_TRUE(ParseControlCommand(R"({"cmd":"set_key","track":"fade","row":0,"value":1})", command, error));
  EXPECT_EQ(command.interpolation, -1) << "the key's own is kept";
  ASSERT_TRUE(ParseControlCommand(R"({"cmd":"delete_key","track":"fade","row":4294967295})", command, error));
  EXPECT_EQ(command.kind, ControlCommandKind::DeleteKey);
  EXPECT_EQ(command.row, 4294967295u);
  for (const char* bad : {R"({"cmd":"track"})", R"({"cmd":"track","name":""})",
                          R"({"cmd":"set_key","track":"a","row":1.5,"value":1})",
                          R"({"cmd":"set_key","track":"a","row":-1,"value":1})",
                          R"({"cmd":"set_key","track":"a","row":1})",
                          R"({"cmd":"set_key","track":"a","row":1,"value":1e300})",
                          R"({"cmd":"set_key","track":"a","row":1,"value":1,"interpolation":4})",
                          R"({"cmd":"set_key","track":"a","row":1,"value":1,"interpolation":"cubic"})",
                          R"({"cmd":"set_key","row":1,"value":1})", R"({"cmd":"delete_key","track":"a"})"}) {
    EXPECT_FALSE(ParseControlCommand(bad, command, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
}

TEST(ControlCommand, RefusesMalformedAndUnknownRequestsSayingWhy) {
  struct Case {
    const char* line;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"", "not JSON"},
      {"seek 100", "not JSON"},
      {R"({"cmd":"seek","ms":10)", "not JSON"},
      {R"(["seek"])", "a request is a JSON object"},
      {R"({"ms":10})", "\"cmd\" is missing"},
      {R"({"cmd":7})", "\"cmd\" is missing"},
      {R"({"cmd":"jump"})", "unknown command \"jump\""},
      {R"({"cmd":"seek"})", "\"ms\" must be a number"},
      {R"({"cmd":"seek","ms":"10"})", "\"ms\" must be a number"},
      {R"({"cmd":"seek","ms":-1})", "\"ms\" must be a whole number"},
      {R"({"cmd":"seek","ms":1.5})", "\"ms\" must be a whole number"},
      {R"({"cmd":"seek","ms":4294967296})", "\"ms\" must be a whole number"},
      {R"({"cmd":"loop","from":10})", "\"to\" must be a number"},
      {R"({"cmd":"loop","off":false})", "\"off\" can only be true"},
      {R"({"cmd":"screenshot"})", "\"path\" is missing"},
      {R"({"cmd":"screenshot","path":""})", "\"path\" must be a non-empty string"},
      {R"({"cmd":"reload","path":3})", "\"path\" must be a non-empty string"},
  };
  for (const Case& c : cases) {
    ControlCommand command;
    std::string error;
    EXPECT_FALSE(ParseControlCommand(c.line, command, error)) << c.line;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.line << " gave: " << error;
  }
}

TEST(ControlCommand, TheErrorAnswerIsOneJsonObject) {
  std::string answer = ControlErrorAnswer("bad \"thing\"\n");
  EXPECT_EQ(answer.find('\n'), std::string::npos);
  JsonValue value;
  std::string error;
  ASSERT_TRUE(JsonValue::Parse(answer, value, error)) << error;
  EXPECT_EQ(value.Find("error")->String(), "bad \"thing\"\n");
}

}  // namespace
