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
