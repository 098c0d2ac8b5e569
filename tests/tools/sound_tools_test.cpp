#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/run_command.h"
#include "tests/support/sound_test_data.h"

namespace {

long long JsonInteger(const std::string& json, const std::string& key) {
  size_t at = json.find("\"" + key + "\":");
  if (at == std::string::npos) return -1;
  return std::atoll(json.c_str() + at + key.size() + 3);
}

class SoundToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The play command's warning boxes go to stderr only.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    pcm = CountingPcm(176400);
    wave = WriteScratchFile("tool.wav", MakeWave(Pcm16Format(2, 44100), pcm));
    out = ScratchFolder() + "/tool.pcm";
  }
  Bytes pcm;
  std::string wave;
  std::string out;
};

TEST_F(SoundToolTest, ReadsBlockByBlockAndReportsEveryStatus) {
  CommandResult result = RunTool({"sound", wave, "--block", "44100", "--out", out});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("\"decoder\":\"wave\""), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("\"statuses\":[1,1,1,1,8]"), std::string::npos) << result.out;
  EXPECT_EQ(JsonInteger(result.out, "averageBytesPerSecond"), 176400);
  EXPECT_EQ(JsonInteger(result.out, "lengthMs"), 1000);
  Bytes expected = pcm;
  expected.resize(5 * 44100, 0);
  EXPECT_EQ(ReadWholeFile(out), expected);
}

TEST_F(SoundToolTest, StartsFromAnOffsetAndLoops) {
  CommandResult result = RunTool({"sound", wave, "--block", "44100", "--from", "150000", "--out", out});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("\"statuses\":[7]"), std::string::npos) << result.out;

  result = RunTool({"sound", wave, "--block", "44100", "--from", "150000", "--loop", "--out", out});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("\"statuses\":[1]"), std::string::npos) << result.out;
  Bytes expected(pcm.begin() + 150000, pcm.end());
  expected.insert(expected.end(), pcm.begin(), pcm.begin() + 17700);
  EXPECT_EQ(ReadWholeFile(out), expected);
}

TEST_F(SoundToolTest, DecodesOggVorbisWholeAndRefusesWhatItCannotRead) {
  std::string ogg = WriteScratchFile("tool.ogg", TestOggVorbis(0.5, 1, 22050));
  CommandResult result = RunTool({"sound", ogg, "--out", out});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("\"decoder\":\"ogg-vorbis\""), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("\"statuses\":[1]"), std::string::npos) << result.out;
  EXPECT_EQ(JsonInteger(result.out, "totalBytes"), 22050);
  EXPECT_EQ(ReadWholeFile(out).size(), 22050u);

  std::string garbage = WriteScratchFile("tool-garbage.wav", Bytes(300, 'R'));
  EXPECT_EQ(RunTool({"sound", garbage, "--out", out}).status, 1);
  EXPECT_EQ(RunTool({"sound", wave}).status, 2);
  EXPECT_EQ(RunTool({"sound", wave, "--block", "-4", "--out", out}).status, 2);
}

TEST_F(SoundToolTest, PlaysToTheEndOnTheAudioOutput) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::string half = WriteScratchFile("half.wav", MakeWave(Pcm16Format(2, 44100), CountingPcm(88200)));
  CommandResult result = RunTool({"play", half});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("\"mode\":\"static\""), std::string::npos) << result.out;
  long long playedMs = JsonInteger(result.out, "stoppedMs") - JsonInteger(result.out, "startedMs");
  EXPECT_GE(playedMs, 450) << result.out;
  EXPECT_LT(playedMs, 3000) << result.out;

  EXPECT_EQ(RunTool({"play", ScratchFolder() + "/none.ogg"}).status, 1);
  EXPECT_EQ(RunTool({"play"}).status, 2);
}

}  // namespace
