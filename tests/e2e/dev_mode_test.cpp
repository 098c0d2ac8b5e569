// The developer mode end to end, driven over its control socket: screenshots are the pictures
// the headless renderer gives at the same times, the music after a seek is the music from there,
// and saved changes to a content folder reach the paused picture within a second and nowhere
// else, while a broken effect leaves it as it was.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/json_value.h"
#include "platform/line_socket.h"
#include "sound/ogg_vorbis_loader.h"
#include "tests/e2e/disk_audio.h"
#include "tests/support/png_reading.h"
#include "tests/support/run_command.h"
#include "tests/support/test_paths.h"
#include "tests/support/x_driver.h"

namespace fs = std::filesystem;

namespace {

constexpr int START_TIMEOUT_MS = 60000;
constexpr int ANSWER_TIMEOUT_MS = 30000;
constexpr int RELOAD_LIMIT_MS = 1000;
constexpr const char* WIDTH = "320";
constexpr const char* HEIGHT = "180";

using Clock = std::chrono::steady_clock;

int MillisecondsSince(Clock::time_point start) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

class DevModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/torvane-dev-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    mFolder = folder;
    mSocket = mFolder + "/control";
    mAudioPath = mFolder + "/played.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", mAudioPath.c_str(), 1);
  }
  void TearDown() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    fs::remove_all(mFolder);
  }

  // Starts the developer mode with args and waits for its control socket.
  std::unique_ptr<BackgroundProgram> StartDev(std::vector<std::string> args) {
    args.insert(args.begin(), "--dev");
    for (const char* extra : {"--control", mSocket.c_str(), "--size"}) args.push_back(extra);
    args.push_back(std::string(WIDTH) + "x" + HEIGHT);
    auto dev = std::make_unique<BackgroundProgram>(BinaryPath("app/torvane"), mFolder, args);
    for (int waited = 0; waited < START_TIMEOUT_MS && dev->IsRunning(); waited += 50) {
      JsonValue state;
      if (Ask(R"({"cmd":"state"})", state, 1000)) return dev;
      SleepMs(50);
    }
    ADD_FAILURE() << "the developer mode did not answer: " << dev->ErrorOutput();
    return nullptr;
  }

  bool Ask(const std::string& request, JsonValue& answer, int timeoutMs = ANSWER_TIMEOUT_MS) {
    std::string line;
    std::string error;
    if (!platform::ExchangeLine(mSocket, request, line, error, timeoutMs)) return false;
    return JsonValue::Parse(line, answer, error) && answer.IsObject();
  }

  // Sends request and expects an answer without "error".
  JsonValue Command(const std::string& request) {
    JsonValue answer;
    EXPECT_TRUE(Ask(request, answer)) << request;
    EXPECT_EQ(answer.Find("error"), nullptr) << request << " -> " << answer.Serialize();
    return answer;
  }

  DecodedPng Screenshot(const std::string& name) {
    std::string path = mFolder + "/" + name;
    Command(R"({"cmd":"screenshot","path":")" + path + "\"}");
    return ReadPngFile(path);
  }

  // torvane-tool render of pack at t, same size.
  DecodedPng Rendered(const std::string& pack, uint32_t t) {
    std::string out = mFolder + "/rendered";
    CommandResult result = RunTool({"render", "--pack", pack, "--width", WIDTH, "--height", HEIGHT, "--at",
                                    std::to_string(t), "--out", out});
    EXPECT_EQ(result.status, 0) << result.err;
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%08u.png", t);
    return ReadPngFile(out + name);
  }

  std::string mFolder;
  std::string mSocket;
  std::string mAudioPath;
};

TEST_F(DevModeTest, ScreenshotsAreTheHeadlessRendersAtTheSameTimes) {
  std::string pack = BinaryPath("test-production/torvane.pak");
  auto dev = StartDev({"--pack", pack});
  ASSERT_TRUE(dev);
  for (uint32_t t : {700u, 3500u, 6800u}) {
    JsonValue seek = Command(R"({"cmd":"seek","ms":)" + std::to_string(t) + "}");
    EXPECT_EQ(seek.Find("time")->Number(), t);
    // Into a folder that is not there yet: it is made.
    DecodedPng shot = Screenshot("shots/shot_" + std::to_string(t) + ".png");
    ASSERT_TRUE(shot.ok) << t;
    EXPECT_LE(LargestDifference(shot, Rendered(pack, t)), 1) << "at " << t << " ms";
  }
  JsonValue bad;
  ASSERT_TRUE(Ask("seek to the end", bad));
  EXPECT_NE(bad.Find("error"), nullptr);
  // A folder that cannot be made: the answer says why.
  const std::string blocked = mFolder + "/shots/shot_700.png/inside.png";
  JsonValue refused;
  ASSERT_TRUE(Ask(R"({"cmd":"screenshot","path":")" + blocked + "\"}", refused));
  ASSERT_NE(refused.Find("error"), nullptr) << refused.Serialize();
  EXPECT_EQ(refused.Find("error")->String(), "cannot make the folder " + mFolder + "/shots/shot_700.png: " + mFolder +
                                               "/shots/shot_700.png is not a folder");
  Command(R"({"cmd":"quit"})");
  EXPECT_EQ(dev->WaitForExit(START_TIMEOUT_MS), 0) << dev->ErrorOutput();
}

TEST_F(DevModeTest, AfterASeekTheMusicPlaysFromThere) {
  fs::copy(BinaryPath("test-production/music.ogg"), mFolder + "/music.ogg");
  auto dev = StartDev({"--pack", BinaryPath("test-production/torvane.pak"), "--music", mFolder + "/music.ogg"});
  ASSERT_TRUE(dev);
  Command(R"({"cmd":"seek","ms":3000})");
  Command(R"({"cmd":"play"})");
  SleepMs(1500);
  JsonValue state = Command(R"({"cmd":"state"})");
  EXPECT_TRUE(state.Find("playing")->Bool());
  EXPECT_GT(state.Find("time")->Number(), 3000.0) << "the playhead follows the music";
  Command(R"({"cmd":"pause"})");
  Command(R"({"cmd":"quit"})");
  ASSERT_EQ(dev->WaitForExit(START_TIMEOUT_MS), 0) << dev->ErrorOutput();

  OggVorbisLoader music;
  ASSERT_EQ(music.Open((mFolder + "/music.ogg").c_str()), SOUND_OK);
  PcmBlock whole;
  ASSERT_EQ(music.Read(whole, SOUND_CURRENT_POSITION, 0, false), SOUND_OK);
  const size_t fromThreeSeconds = SecondsToFrames(3.0) * 4;
  const size_t probe = SecondsToFrames(0.5) * 4;
  ASSERT_GT(whole.Size(), fromThreeSeconds + probe);
  std::ifstream in(mAudioPath, std::ios::binary);
  std::string recorded((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string expected(reinterpret_cast<const char*>(whole.Data()) + fromThreeSeconds, probe);
  size_t at = recorded.find(expected);
  ASSERT_NE(at, std::string::npos) << "half a second of the music from 3 s, to the sample, is in the output";
  EXPECT_EQ(at % 4, 0u);
  std::string opening(reinterpret_cast<const char*>(whole.Data()), SecondsToFrames(0.1) * 4);
  EXPECT_EQ(recorded.find(opening), std::string::npos) << "the music's start never played";
}

TEST_F(DevModeTest, SavedChangesReachThePausedPictureAndABrokenEffectChangesNothing) {
  std::string content = mFolder + "/content";
  fs::copy(BinaryPath("content/test"), content, fs::copy_options::recursive);
  auto dev = StartDev({"--content", content});
  ASSERT_TRUE(dev);
  const uint32_t t = 1500;
  Command(R"({"cmd":"seek","ms":1500})");
  DecodedPng before = Screenshot("before.png");
  ASSERT_TRUE(before.ok);
  double reloads = Command(R"({"cmd":"state"})").Find("reloads")->Number();

  // Saves text as the file, waits for the reload it causes, and returns the picture after it with
  // the state then.
  auto saveAndShoot = [&](const std::string& relative, const std::string& text, const std::string& shot) {
    Clock::time_point saved = Clock::now();
    std::ofstream(content + "/" + relative, std::ios::binary) << text;
    JsonValue state;
    while (MillisecondsSince(saved) < 10 * RELOAD_LIMIT_MS) {
      state = Command(R"({"cmd":"state"})");
      if (state.Find("reloads")->Number() > reloads) break;
      SleepMs(20);
    }
    EXPECT_LE(MillisecondsSince(saved), RELOAD_LIMIT_MS) << relative << " took too long to reload";
    reloads = state.Find("reloads")->Number();
    EXPECT_EQ(state.Find("time")->Number(), t) << "the playhead stays";
    EXPECT_FALSE(state.Find("playing")->Bool()) << "and so does the pause";
    return std::make_pair(Screenshot(shot), state);
  };
  auto read = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  };
  auto edited = [&](const std::string& relative, const std::string& from, const std::string& to) {
    std::string text = read(content + "/" + relative);
    size_t found = text.find(from);
    EXPECT_NE(found, std::string::npos) << from;
    return found == std::string::npos ? text : text.replace(found, from.size(), to);
  };
  // Where the picture should change and nowhere else: exactly the headless render of the
  // production built from the changed folder.
  auto expected = [&](const std::string& name) {
    std::string out = mFolder + "/" + name;
    CommandResult built = RunTool({"build", content, "--out", out});
    EXPECT_EQ(built.status, 0) << built.out << built.err;
    return Rendered(out + "/torvane.pak", t);
  };

  struct Change {
    const char* file;
    std::string text;
    const char* what;
  };
  const std::vector<Change> changes = {
      {"data/texture/sky.png", read(SourcePath("content/test/data/texture/checker.png")), "a new sky"},
      {"data/definition/postEffectDefine.xml",
       edited("data/definition/postEffectDefine.xml", "value=\"0.6\"", "value=\"2.5\""), "a stronger glow"},
      {"data/tdf/opening.tdf",
       edited("data/tdf/opening.tdf", "Position { 0 0 0   0 0.5 0 }", "Position { 1 0 0   1 0.5 0 }"), "the cube moved"},
  };
  for (size_t i = 0; i < changes.size(); ++i) {
    std::string name = "change" + std::to_string(i);
    DecodedPng after = saveAndShoot(changes[i].file, changes[i].text, name + ".png").first;
    EXPECT_GT(LargestDifference(after, before), 1) << changes[i].what;
    EXPECT_LE(LargestDifference(after, expected(name)), 1) << changes[i].file;
    before = after;
  }
  {
    std::string effect = edited("data/shader/glowComposite.cgfx", "void fsBase() {", "void fsBase() { x = ;");
    auto [broken, state] = saveAndShoot("data/shader/glowComposite.cgfx", effect, "broken.png");
    EXPECT_LE(LargestDifference(broken, before), 1) << "the previous effect still draws";
    std::string errors = state.Find("errors")->Serialize();
    EXPECT_NE(errors.find("[effect] error: data\\\\shader\\\\glowComposite.cgfx:"), std::string::npos) << errors;
  }
  Command(R"({"cmd":"quit"})");
  EXPECT_EQ(dev->WaitForExit(START_TIMEOUT_MS), 0) << dev->ErrorOutput();
  EXPECT_NE(dev->ErrorOutput().find("glowComposite.cgfx:"), std::string::npos) << "the log names the file and line";
}

}  // namespace
