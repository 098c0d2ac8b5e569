// Lines over a Unix domain socket: answered one for one, cut off when too long, answered even
// when the client has stopped sending, and the socket file handled with care.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/line_socket.h"

namespace fs = std::filesystem;

namespace {

class LineSocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mFolder = fs::temp_directory_path() / ("torvane_socket_" + std::to_string(::getpid()));
    fs::remove_all(mFolder);
    fs::create_directories(mFolder);
    mPath = (mFolder / "control").string();
  }
  void TearDown() override { fs::remove_all(mFolder); }

  // Polls server until done says so or a second has gone.
  template <class Done>
  static void PollUntil(platform::LineSocketServer& server, Done done,
                        const std::function<void(int, const std::string&, bool)>& onLine) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
      server.Poll(onLine);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  int Connect() {
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, mPath.c_str(), sizeof address.sun_path - 1);
    EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    return fd;
  }

  static std::string ReadAll(int fd) {
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(got));
    return text;
  }

  fs::path mFolder;
  std::string mPath;
};

TEST_F(LineSocketTest, TheClientGetsTheAnswerToItsLine) {
  platform::LineSocketServer server;
  std::string error;
  ASSERT_TRUE(server.Listen(mPath, error)) << error;
  auto exchange = std::async(std::launch::async, [&] {
    std::string answer;
    std::string why;
    bool ok = platform::ExchangeLine(mPath, R"({"cmd":"state"})", answer, why, 5000);
    return ok ? answer : "failed: " + why;
  });
  std::vector<std::string> lines;
  PollUntil(server, [&] { return exchange.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
            [&](int client, const std::string& line, bool cutOff) {
              lines.push_back(line);
              EXPECT_FALSE(cutOff);
              server.Send(client, "answer to " + line);
            });
  EXPECT_EQ(exchange.get(), R"(answer to {"cmd":"state"})");
  EXPECT_EQ(lines, std::vector<std::string>{R"({"cmd":"state"})"});
}

TEST_F(LineSocketTest, SeveralLinesAtOnceAndALineTooLongAreEachAnswered) {
  platform::LineSocketServer server;
  std::string error;
  ASSERT_TRUE(server.Listen(mPath, error)) << error;
  int fd = Connect();
  std::string longLine(platform::LINE_SOCKET_MAX_LINE + 100, 'x');
  std::string sent = "one\r\ntwo\n" + longLine + "\nthree\n";
  std::thread writer([&] {
    ASSERT_EQ(write(fd, sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
    shutdown(fd, SHUT_WR);
  });
  std::vector<std::string> got;
  PollUntil(server, [&] { return got.size() == 4; }, [&](int client, const std::string& line, bool cutOff) {
    got.push_back(cutOff ? "cut:" + std::to_string(line.size()) : line);
    server.Send(client, "ok " + std::to_string(got.size()));
  });
  writer.join();
  EXPECT_EQ(got, (std::vector<std::string>{"one", "two", "cut:" + std::to_string(platform::LINE_SOCKET_MAX_LINE), "three"}));
  // The client stopped sending but is still answered, then closed.
  PollUntil(server, [] { return false; }, [](int, const std::string&, bool) {});
  EXPECT_EQ(ReadAll(fd), "ok 1\nok 2\nok 3\nok 4\n");
  close(fd);
}

TEST_F(LineSocketTest, AStaleSocketIsReplacedButALiveOneOrAnotherFileIsNot) {
  std::string error;
  {
    platform::LineSocketServer first;
    ASSERT_TRUE(first.Listen(mPath, error)) << error;
    platform::LineSocketServer second;
    EXPECT_FALSE(second.Listen(mPath, error));
    EXPECT_NE(error.find("in use"), std::string::npos) << error;
  }
  EXPECT_FALSE(fs::exists(mPath)) << "closing removes the socket file";

  // A server that died without closing leaves its socket file behind.
  int dead = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, mPath.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(bind(dead, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(dead);
  platform::LineSocketServer revived;
  EXPECT_TRUE(revived.Listen(mPath, error)) << error;
  revived.Close();

  std::string plain = (mFolder / "notes.txt").string();
  std::ofstream(plain) << "keep me";
  platform::LineSocketServer refused;
  EXPECT_FALSE(refused.Listen(plain, error));
  EXPECT_NE(error.find("not a socket"), std::string::npos) << error;
  EXPECT_TRUE(fs::exists(plain));
  EXPECT_FALSE(refused.Listen(std::string(200, 'a'), error)) << "longer than a socket address holds";
}

TEST_F(LineSocketTest, NoAnswerInTimeIsAnError) {
  platform::LineSocketServer server;
  std::string error;
  ASSERT_TRUE(server.Listen(mPath, error)) << error;
  std::string answer;
  EXPECT_FALSE(platform::ExchangeLine(mPath, "anything", answer, error, 100));
  EXPECT_NE(error.find("no answer within 100 ms"), std::string::npos) << error;
}

}  // namespace
