#include <gtest/gtest.h>

#include "tests/tools/capture/capture_test_support.h"
#include "tools/capture/capture_settings.h"
#include "tools/capture/decoded_music.h"
#include "tools/capture/wave_file.h"

namespace {

bool Parse(const std::vector<std::string>& raw, CaptureSettings& settings, std::string& error) {
  ToolArgs args;
  return ParseToolArgs(raw, CaptureValueOptions(), CaptureFlagOptions(), args, error) &&
         ParseCaptureSettings(args, settings, error);
}

// The frame count rounds up: a frame that starts before the music's last sample is in.
TEST(CaptureTiming, FrameCountCoversTheMusicAndSoundFollowsTheFrames) {
  EXPECT_EQ(FrameCountForMusic(44100 * 8, 44100, 60), 480);
  EXPECT_EQ(FrameCountForMusic(44100 * 8 + 1, 44100, 60), 481);
  EXPECT_EQ(FrameCountForMusic(1, 44100, 60), 1);
  EXPECT_EQ(FrameCountForMusic(0, 44100, 60), 0);
  EXPECT_EQ(FrameCountForMusic(48000, 48000, 24), 24);
  EXPECT_EQ(FirstSampleOfFrame(1, 44100, 60), 735);
  EXPECT_EQ(FirstSampleOfFrame(1, 44100, 24), 1837);
  EXPECT_EQ(FirstSampleOfFrame(24, 44100, 24), 44100);
  EXPECT_EQ(FirstFrameFromMs(0, 60), 0);
  EXPECT_EQ(FirstFrameFromMs(1, 60), 1);
  EXPECT_EQ(FirstFrameFromMs(1000, 60), 60);
  EXPECT_EQ(FirstFrameFromMs(1001, 60), 61);
}

TEST(CaptureSettings, DefaultsFollowTheExtension) {
  CaptureSettings settings;
  std::string error;
  ASSERT_TRUE(Parse({"--out", "demo.mp4"}, settings, error)) << error;
  EXPECT_EQ(settings.videoCodec, VideoCodec::H264);
  EXPECT_EQ(settings.audioCodec, AudioCodec::Aac);
  EXPECT_EQ(settings.frame.width, 1920);
  EXPECT_EQ(settings.frame.height, 1080);
  EXPECT_EQ(settings.frame.fsaaLevel, 4);
  EXPECT_EQ(settings.fps, 60u);
  EXPECT_EQ(settings.crf, 18);
  EXPECT_FALSE(settings.toFolder);
  ASSERT_TRUE(Parse({"--out", "demo.mkv", "--audio", "opus"}, settings, error)) << error;
  EXPECT_EQ(settings.videoCodec, VideoCodec::Ffv1);
  EXPECT_EQ(settings.audioCodec, AudioCodec::Opus);
  ASSERT_TRUE(Parse({"--out", "frames/", "--low-quality"}, settings, error)) << error;
  EXPECT_TRUE(settings.toFolder);
  EXPECT_EQ(settings.frame.fsaaLevel, 0) << "low quality renders once per line";
}

TEST(CaptureSettings, RefusesWhatItCannotDo) {
  const std::vector<std::vector<std::string>> wrong = {
      {"--out", "a.mp4", "--codec", "vp9"},    {"--out", "a.mp4", "--audio", "mp3"},
      {"--out", "a.mp4", "--fps", "0"},        {"--out", "a.mp4", "--crf", "52"},
      {"--out", "a.mp4", "--frames", "5:5"},   {"--out", "a.mp4", "--frames", "9:3"},
      {"--out", "a.mp4", "--frames", "x"},     {"--out", "a.mp4", "--from", "100", "--frames", "0:9"},
      {"--out", "a.mp4", "--from", "9", "--to", "9"}, {"--out", "a.mp4", "--from", "-4"},
      {"--out", "a.mp4", "--fsaa", "3"},       {"--pack", "p.pak"},
      {"--out", "a.mp4", "stray"},             {"--segments", "0"},
      {"--out", "a.mp4", "--frames", "0:9", "--from-zero"}};
  for (const auto& args : wrong) {
    CaptureSettings settings;
    std::string error;
    EXPECT_FALSE(Parse(args, settings, error)) << args[args.size() - 1];
    EXPECT_FALSE(error.empty());
  }
}

TEST(CaptureSettings, PartsResolveToFramesWithinTheWhole) {
  struct Case {
    std::vector<std::string> args;
    int64_t first;
    int64_t end;
  };
  const std::vector<Case> cases = {
      {{}, 0, 480},
      {{"--frames", "100:200"}, 100, 200},
      {{"--frames", "400:900"}, 400, 480},
      {{"--from", "1000"}, 60, 480},
      {{"--from", "1001", "--to", "2000"}, 61, 120},
      {{"--to", "17"}, 0, 2},
  };
  for (const Case& c : cases) {
    CaptureSettings settings;
    std::string error;
    std::vector<std::string> args = {"--out", "a.mp4"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ASSERT_TRUE(Parse(args, settings, error)) << error;
    FrameRange range;
    ASSERT_TRUE(ResolveFrameRange(settings, 480, range, error)) << error;
    EXPECT_EQ(range.first, c.first);
    EXPECT_EQ(range.end, c.end);
  }
  CaptureSettings settings;
  std::string error;
  ASSERT_TRUE(Parse({"--out", "a.mp4", "--frames", "480:500"}, settings, error));
  FrameRange range;
  EXPECT_FALSE(ResolveFrameRange(settings, 480, range, error));
  EXPECT_NE(error.find("frames 0 to 479"), std::string::npos) << error;
}

// What a capture to a folder writes as music.wav reads back through the player's decoders.
TEST(WaveFile, ReadsBackThroughThePlayersDecoder) {
  ScratchFolder folder;
  std::vector<int16_t> samples;
  for (int i = 0; i < 3001; ++i) samples.push_back(static_cast<int16_t>(i * 37 - 30000));
  std::vector<uint8_t> wave = EncodeWave(samples.data(), 3001 / 1, 1, 22050);
  std::string path = folder / "music.wav";
  WriteTextFile(path, std::string(wave.begin(), wave.end()));
  tools::DecodedMusic music;
  std::string error;
  ASSERT_TRUE(tools::DecodeMusic(path, music, error)) << error;
  EXPECT_EQ(music.sampleRate, 22050u);
  EXPECT_EQ(music.channels, 1);
  EXPECT_EQ(music.samples, samples);
}

}  // namespace
