// torvane-tool remote: the words of its command line become the control channel's requests.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/run_command.h"
#include "tools/remote_request.h"

namespace {

std::string Request(const std::vector<std::string>& words) {
  std::string line;
  std::string error;
  return BuildRemoteRequest(words, line, error) ? line : "refused: " + error;
}

TEST(RemoteRequest, EachCommandBecomesItsRequestLine) {
  EXPECT_EQ(Request({"state"}), R"({"cmd":"state"})");
  EXPECT_EQ(Request({"seek", "1500"}), R"({"cmd":"seek","ms":1500})");
  EXPECT_EQ(Request({"loop", "1000", "2000"}), R"({"cmd":"loop","from":1000,"to":2000})");
  EXPECT_EQ(Request({"loop", "off"}), R"({"cmd":"loop","off":true})");
  EXPECT_EQ(Request({"reload"}), R"({"cmd":"reload"})");
  EXPECT_EQ(Request({"reload", "data\\texture\\sky.png"}), R"({"cmd":"reload","path":"data\\texture\\sky.png"})");
  EXPECT_EQ(Request({"send", "anything at all"}), "anything at all");
  EXPECT_EQ(Request({"tracks"}), R"({"cmd":"tracks"})");
  EXPECT_EQ(Request({"track", "cam:shake"}), R"({"cmd":"track","name":"cam:shake"})");
  EXPECT_EQ(Request({"set_key", "fade", "16", "0.5", "smooth"}),
            R"({"cmd":"set_key","track":"fade","row":16,"value":0.5,"interpolation":"smooth"})");
  EXPECT_EQ(Request({"set_key", "fade", "16", "-2"}), R"({"cmd":"set_key","track":"fade","row":16,"value":-2})");
  EXPECT_EQ(Request({"delete_key", "fade", "16"}), R"({"cmd":"delete_key","track":"fade","row":16})");
  std::string absolute = std::filesystem::absolute("shot.png").string();
  EXPECT_EQ(Request({"screenshot", "shot.png"}), R"({"cmd":"screenshot","path":")" + absolute + "\"}")
      << "the player runs elsewhere: the file is named from here";
}

TEST(RemoteRequest, WordsThatMakeNoRequestAreRefused) {
  for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
           {}, {"jump"}, {"seek"}, {"seek", "-5"}, {"seek", "1.5"}, {"seek", "4294967296"}, {"state", "now"},
           {"loop", "5"}, {"loop", "on"}, {"screenshot"}, {"reload", "a", "b"}, {"tracks", "x"}, {"track"},
           {"set_key", "a", "1"}, {"set_key", "a", "x", "1"}, {"set_key", "a", "1", "one"},
           {"set_key", "a", "1", "1", "cubic"}, {"delete_key", "a"}, {"delete_key", "a", "-1"}}) {
    EXPECT_EQ(Request(words).rfind("refused: ", 0), 0u) << (words.empty() ? "" : words[0]);
  }
}

TEST(RemoteCommand, NoServerIsAnErrorAndBadWordsAUsageError) {
  CommandResult missing = RunTool({"remote", "/tmp/torvane-no-such-socket", "state"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("torvane-no-such-socket"), std::string::npos) << missing.err;
  CommandResult usage = RunTool({"remote", "/tmp/s", "seek", "soon"});
  EXPECT_EQ(usage.status, 2);
  EXPECT_NE(usage.err.find("seek needs milliseconds"), std::string::npos) << usage.err;
}

}  // namespace
