// Sync tracks in the running developer mode: keys set over the control channel and by a fake sync
// editor on a loopback socket show on the next frame as the track says, the editor's greeting,
// track requests, row and pause reach the demo with the protocol's exact bytes, and the tracks are
// saved into the content folder.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/json_value.h"
#include "platform/line_socket.h"
#include "tests/support/fake_sync_editor.h"
#include "tests/support/marked_examples.h"
#include "tests/support/png_reading.h"
#include "tests/support/run_command.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_paths.h"
#include "tests/support/x_driver.h"

namespace fs = std::filesystem;

namespace {

constexpr int TIMEOUT_MS = 30000;
constexpr const char* SIZE = "320x180";
constexpr char TRACK[] = "vignette:strength";

// The worked example of docs/sync.md laid over the starter production.
void WriteExample(const fs::path& production) {
  ASSERT_EQ(RunTool({"new", production.string()}).status, 0);
  for (const auto& [path, text] : FindMarkedExamples(ReadSourceFile("docs/sync.md"), "<!-- sync example: ").examples) {
    ASSERT_TRUE(WriteTextFile(production / path, text));
  }
}

class SyncDevTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    mSocket = (mFolder.Path() / "control").string();
  }

  bool Ask(const std::string& request, JsonValue& answer) {
    std::string line, error;
    return platform::ExchangeLine(mSocket, request, line, error, TIMEOUT_MS) && JsonValue::Parse(line, answer, error);
  }
  JsonValue Command(const std::string& request) {
    JsonValue answer;
    EXPECT_TRUE(Ask(request, answer)) << request;
    EXPECT_EQ(answer.Find("error"), nullptr) << request << " -> " << answer.Serialize();
    return answer;
  }
  DecodedPng Screenshot(const std::string& name) {
    const std::string path = (mFolder.Path() / name).string();
    Command(R"({"cmd":"screenshot","path":")" + path + "\"}");
    return ReadPngFile(path);
  }
  // The starter with the vignette's strength written as value, rendered at ms.
  DecodedPng WrittenStrength(const std::string& value, uint32_t ms) {
    const fs::path production = mFolder.Path() / ("written" + value);
    EXPECT_EQ(RunTool({"new", production.string()}).status, 0);
    const fs::path file = production / "data/definition/postEffectDefine.xml";
    std::string text = ReadTextFile(file);
    text.replace(text.find("value=\"0.7\""), 11, "value=\"" + value + "\"");
    EXPECT_TRUE(WriteTextFile(file, text));
    const fs::path out = mFolder.Path() / ("out" + value);
    EXPECT_EQ(RunTool({"build", production.string(), "--out", out.string()}).status, 0);
    EXPECT_EQ(RunTool({"render", "--pack", (out / "torvane.pak").string(), "--size", SIZE, "--at", std::to_string(ms),
                       "--out", (out / "frames").string()})
                  .status,
              0);
    char name[32];
    std::snprintf(name, sizeof name, "frame_%08u.png", ms);
    return ReadPngFile((out / "frames" / name).string());
  }
  // Waits until the content folder's tracks file holds text.
  bool SavedWith(const fs::path& file, const std::string& text) {
    for (int waited = 0; waited < TIMEOUT_MS; waited += 50) {
      if (ReadTextFile(file).find(text) != std::string::npos) return true;
      SleepMs(50);
    }
    return false;
  }

  TemporaryFolder mFolder;
  std::string mSocket;
};

TEST_F(SyncDevTest, KeysFromTheControlChannelAndAnEditorPlayAndAreSaved) {
  const fs::path content = mFolder.Path() / "content";
  WriteExample(content);
  FakeSyncEditor editor;
  BackgroundProgram dev(BinaryPath("app/torvane"), mFolder.Path().string(),
                        {"--dev", "--content", content.string(), "--control", mSocket, "--size", SIZE,
                         "--sync-editor", "127.0.0.1:" + std::to_string(editor.Port())});
  JsonValue state;
  for (int waited = 0; waited < TIMEOUT_MS && dev.IsRunning() && !Ask(R"({"cmd":"state"})", state); waited += 50) SleepMs(50);
  ASSERT_TRUE(dev.IsRunning()) << dev.ErrorOutput();

  // The editor is greeted and asked for the one track a constant names.
  ASSERT_TRUE(editor.Accept(TIMEOUT_MS));
  const std::string greeting = "hello, synctracker!";
  EXPECT_EQ(editor.Read(greeting.size(), TIMEOUT_MS), std::vector<uint8_t>(greeting.begin(), greeting.end()));
  const std::string answer = "hello, demo!";
  editor.Send(std::vector<uint8_t>(answer.begin(), answer.end()));
  const std::string request = std::string("\x02\0\0\0\x11", 5) + TRACK;
  const std::vector<uint8_t> ask(request.begin(), request.end());
  EXPECT_EQ(editor.Read(ask.size(), TIMEOUT_MS), ask);
  EXPECT_EQ(editor.Read(5, TIMEOUT_MS), (std::vector<uint8_t>{3, 0, 0, 0, 0})) << "the playhead's row";

  // Over the control channel: row 16 (1000 ms) keyed to 3 shows as a written 3 would.
  JsonValue tracks = Command(R"({"cmd":"tracks"})");
  ASSERT_EQ(tracks.Find("tracks")->Items().size(), 1u);
  EXPECT_EQ(tracks.Find("tracks")->Items()[0].Find("keys")->Number(), 4);
  Command(R"({"cmd":"seek","ms":1000})");
  EXPECT_EQ(editor.Read(5, TIMEOUT_MS), (std::vector<uint8_t>{3, 0, 0, 0, 16}));
  Command(R"({"cmd":"set_key","track":"vignette:strength","row":16,"value":3,"interpolation":"linear"})");
  EXPECT_LE(LargestDifference(Screenshot("keyed.png"), WrittenStrength("3", 1000)), 1);
  const fs::path file = content / "data/sync/tracks.xml";
  EXPECT_TRUE(SavedWith(file, "<key row=\"16\" value=\"3\" interpolation=\"1\"/>")) << ReadTextFile(file);
  EXPECT_NE(ReadTextFile(file).find("<bookmark row=\"32\"/>"), std::string::npos) << "kept through the save";

  // From the editor: a key, the row, pause and play, and a save.
  editor.Send({0, 0, 0, 0, 0, 0, 0, 0, 16, 0x3F, 0xC0, 0, 0, 0});  // track 0, row 16, 1.5, step
  editor.Send({3, 0, 0, 0, 16});
  editor.Send({4, 0});
  SleepMs(300);
  state = Command(R"({"cmd":"state"})");
  EXPECT_TRUE(state.Find("playing")->Bool());
  editor.Send({4, 1, 3, 0, 0, 0, 16, 5});
  EXPECT_TRUE(SavedWith(file, "<key row=\"16\" value=\"1.5\" interpolation=\"0\"/>")) << ReadTextFile(file);
  state = Command(R"({"cmd":"state"})");
  EXPECT_FALSE(state.Find("playing")->Bool());
  EXPECT_EQ(state.Find("time")->Number(), 1000) << "row 16 at 16 rows a second";
  EXPECT_LE(LargestDifference(Screenshot("editor.png"), WrittenStrength("1.5", 1000)), 1);

  Command(R"({"cmd":"quit"})");
  EXPECT_EQ(dev.WaitForExit(TIMEOUT_MS), 0) << dev.ErrorOutput();
}

}  // namespace
