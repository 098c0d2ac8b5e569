#include <algorithm>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/support/run_command.h"
#include "tools/json_writer.h"
#include "tools/tool_command.h"

namespace {

// The command names of the tool's own list, from its --help text.
std::vector<std::string> ListedCommands() {
  std::vector<std::string> names;
  std::istringstream lines(RunTool({"--help"}).out);
  bool inList = false;
  for (std::string line; std::getline(lines, line);) {
    if (line == "commands:") {
      inList = true;
    } else if (inList && line.empty()) {
      break;
    } else if (inList) {
      std::istringstream words(line);
      std::string name;
      words >> name;
      names.push_back(name);
    }
  }
  return names;
}

TEST(TorvaneTool, EveryCommandAnswersHelpAndVersion) {
  EXPECT_EQ(RunTool({"--help"}).status, 0);
  EXPECT_EQ(RunTool({"--version"}).out, "torvane-tool " TORVANE_VERSION "\n");
  std::vector<std::string> commands = ListedCommands();
  EXPECT_NE(std::find(commands.begin(), commands.end(), "classes"), commands.end());
  for (const std::string& name : commands) {
    CommandResult help = RunTool({name, "--help"});
    EXPECT_EQ(help.status, 0) << name;
    EXPECT_NE(help.out.find("torvane-tool " + name), std::string::npos) << name;
    CommandResult version = RunTool({name, "--version"});
    EXPECT_EQ(version.status, 0) << name;
    EXPECT_EQ(version.out, "torvane-tool " + name + " " TORVANE_VERSION "\n");
  }
}

TEST(TorvaneTool, UnknownCommandsAndMissingCommandsFail) {
  CommandResult unknown = RunTool({"no-such-command"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("no-such-command"), std::string::npos);
  EXPECT_EQ(RunTool({}).status, 2);
}

TEST(ToolArgs, SplitsPositionalsOptionsAndFlags) {
  ToolArgs args;
  std::string error;
  ASSERT_TRUE(ParseToolArgs({"in.wav", "--block", "4096", "--loop", "out"}, {"--block"}, {"--loop"}, args, error));
  EXPECT_EQ(args.positional, (std::vector<std::string>{"in.wav", "out"}));
  EXPECT_EQ(args.Option("--block"), "4096");
  EXPECT_EQ(args.Option("--from", "0"), "0");
  EXPECT_TRUE(args.Has("--loop"));

  ToolArgs bad;
  EXPECT_FALSE(ParseToolArgs({"--block"}, {"--block"}, {}, bad, error));
  EXPECT_FALSE(ParseToolArgs({"--what"}, {}, {}, bad, error));
  EXPECT_NE(error.find("--what"), std::string::npos);
}

TEST(JsonWriter, NestsWithCommasAndEscapesStrings) {
  JsonWriter json;
  json.BeginObject().Key("a").BeginArray().Integer(1).Null().Bool(false).EndArray();
  json.Key("s").String("q\"\\\n\x01\xff").Key("x").Number(0.5).EndObject();
  EXPECT_EQ(json.Text(), "{\"a\":[1,null,false],\"s\":\"q\\\"\\\\\\n\\u0001\\u00ff\",\"x\":0.5}");
}

}  // namespace
