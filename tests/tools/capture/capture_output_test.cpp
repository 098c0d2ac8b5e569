// Whole captures of the test production: what the file holds against what `torvane-tool render`
// composes and what the player's decoders make of the music.
#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "demo/fixed_step_demo_clock.h"
#include "tests/support/png_reading.h"
#include "tests/tools/capture/capture_test_support.h"
#include "tests/tools/capture/decoded_media.h"
#include "tools/capture/capture_timing.h"
#include "tools/capture/decoded_music.h"
#include "tools/capture/picture_folder_sink.h"

namespace {

tools::DecodedMusic Music() {
  tools::DecodedMusic music;
  std::string error;
  EXPECT_TRUE(tools::DecodeMusic(ProductionMusic(), music, error)) << error;
  return music;
}

int64_t WholeFrameCount(const tools::DecodedMusic& music) { return FrameCountForMusic(music.Length(), music.sampleRate, TEST_FPS); }

// `torvane-tool render` of frames [0, end) in order, into folder/render.
void Render(const ScratchFolder& folder, int64_t end, const std::string& fsaa) {
  std::string times;
  for (int64_t n = 0; n < end; ++n) times += (n ? "," : "") + std::to_string(FrameTimeMs(n, TEST_FPS));
  CommandResult rendered = RunTool({"render", "--pack", ProductionPack(), "--width", std::to_string(TEST_WIDTH), "--height",
                                    std::to_string(TEST_HEIGHT), "--fsaa", fsaa, "--at", times, "--out", folder / "render"});
  ASSERT_EQ(rendered.status, 0) << rendered.err;
}

std::vector<uint8_t> RgbOf(const DecodedPng& png) {
  std::vector<uint8_t> rgb;
  for (size_t i = 0; i < png.rgba.size(); i += 4) rgb.insert(rgb.end(), png.rgba.begin() + i, png.rgba.begin() + i + 3);
  return rgb;
}

std::vector<uint8_t> RenderedRgb(const ScratchFolder& folder, int64_t frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame_%08u.png", FrameTimeMs(frame, TEST_FPS));
  DecodedPng png = ReadPngFile(folder / ("render/" + std::string(name)));
  EXPECT_TRUE(png.ok) << name;
  return RgbOf(png);
}

TEST(CaptureOutput, LosslessFramesEqualRenderAndFlacEqualsTheMusic) {
  ScratchFolder folder;
  CommandResult captured = Capture({"--pack", ProductionPack(), "--music", ProductionMusic(), "--out", folder / "whole.mkv"});
  ASSERT_EQ(captured.status, 0) << captured.err;
  EXPECT_NE(captured.err.find("whole.mkv"), std::string::npos) << "the summary names the file: " << captured.err;

  tools::DecodedMusic music = Music();
  DecodedMedia media;
  std::string error;
  ASSERT_TRUE(DecodeMedia(folder / "whole.mkv", TEST_FPS, media, error)) << error;
  EXPECT_EQ(media.videoCodec, "ffv1");
  EXPECT_EQ(media.audioCodec, "flac");
  // Eight seconds of music at 30 fps: 240 frames, the last starting before the music ends.
  int64_t frames = WholeFrameCount(music);
  ASSERT_EQ(static_cast<int64_t>(media.pictures.size()), frames);
  for (int64_t n = 0; n < frames; ++n) ASSERT_EQ(media.pictures[n].frame, n);

  Render(folder, frames, "4");
  for (int64_t n : {int64_t{0}, int64_t{1}, int64_t{59}, int64_t{134}, int64_t{181}, frames - 1}) {
    EXPECT_EQ(CountDifferences(media.pictures[n].rgb, RenderedRgb(folder, n)), 0u) << "frame " << n;
  }
  EXPECT_EQ(media.sampleRate, static_cast<int>(music.sampleRate));
  EXPECT_EQ(media.channels, music.channels);
  EXPECT_EQ(media.firstSample, 0);
  EXPECT_EQ(CountDifferences(media.samples, music.samples), 0u);
}

// The index of the best match of the decoded sound (mixed to mono) against the music within
// ±range samples, over a stretch in the middle.
int64_t BestLag(const DecodedMedia& media, const tools::DecodedMusic& music, int64_t range) {
  const int64_t begin = music.Length() / 3;
  const int64_t length = music.sampleRate / 2;
  auto mono = [](const std::vector<int16_t>& samples, int channels, int64_t at) {
    double sum = 0;
    for (int c = 0; c < channels; ++c) sum += samples[static_cast<size_t>(at * channels + c)];
    return sum;
  };
  int64_t best = 0;
  double bestScore = -1e300;
  for (int64_t lag = -range; lag <= range; ++lag) {
    double score = 0;
    for (int64_t i = begin; i < begin + length; ++i) {
      int64_t decoded = i - media.firstSample + lag;
      if (decoded < 0 || decoded >= media.SampleCount()) continue;
      score += mono(music.samples, music.channels, i) * mono(media.samples, media.channels, decoded);
    }
    if (score > bestScore) {
      bestScore = score;
      best = lag;
    }
  }
  return best;
}

TEST(CaptureOutput, H264AndAacHoldEveryFrameAndTheMusicInPlace) {
  constexpr int64_t AAC_FRAME = 1024;
  ScratchFolder folder;
  CommandResult captured = Capture({"--pack", ProductionPack(), "--music", ProductionMusic(), "--out", folder / "whole.mp4"});
  ASSERT_EQ(captured.status, 0) << captured.err;
  tools::DecodedMusic music = Music();
  DecodedMedia media;
  std::string error;
  ASSERT_TRUE(DecodeMedia(folder / "whole.mp4", TEST_FPS, media, error)) << error;
  EXPECT_EQ(media.videoCodec, "h264");
  EXPECT_EQ(media.audioCodec, "aac");
  ASSERT_EQ(static_cast<int64_t>(media.pictures.size()), WholeFrameCount(music));
  for (size_t n = 0; n < media.pictures.size(); ++n) ASSERT_EQ(media.pictures[n].frame, static_cast<int64_t>(n));
  // The sound starts with frame 0 (a container may keep the encoder's priming before it) and is
  // as long as the music, both to within one AAC frame; each sample plays at its music time.
  EXPECT_LE(media.firstSample, 0);
  EXPECT_GE(media.firstSample, -AAC_FRAME);
  EXPECT_LE(std::llabs(media.SampleCount() - music.Length()), AAC_FRAME);
  EXPECT_LE(std::llabs(BestLag(media, music, 2 * AAC_FRAME)), AAC_FRAME);
}

// The same part with and without --from-zero: the same pictures and sound, moved to time 0; the
// folders on the way to the output are made.
TEST(CaptureOutput, APartFromZeroIsTheSamePartStartingAtTimeZero) {
  ScratchFolder folder;
  const std::vector<std::string> part = {"--pack", ProductionPack(), "--music", ProductionMusic(), "--from", "2000", "--to", "3000"};
  std::vector<std::string> kept = part;
  kept.insert(kept.end(), {"--out", folder / "clips/kept.mkv"});
  std::vector<std::string> zeroed = part;
  zeroed.insert(zeroed.end(), {"--from-zero", "--out", folder / "clips/new/zero.mkv"});
  for (const auto& args : {kept, zeroed}) {
    CommandResult captured = Capture(args);
    ASSERT_EQ(captured.status, 0) << captured.err;
  }
  DecodedMedia whole;
  DecodedMedia clip;
  std::string error;
  ASSERT_TRUE(DecodeMedia(folder / "clips/kept.mkv", TEST_FPS, whole, error)) << error;
  ASSERT_TRUE(DecodeMedia(folder / "clips/new/zero.mkv", TEST_FPS, clip, error)) << error;
  ASSERT_EQ(clip.pictures.size(), whole.pictures.size());
  ASSERT_EQ(whole.pictures.front().frame, 2 * TEST_FPS);
  for (size_t n = 0; n < clip.pictures.size(); ++n) {
    ASSERT_EQ(clip.pictures[n].frame, static_cast<int64_t>(n));
    ASSERT_EQ(CountDifferences(clip.pictures[n].rgb, whole.pictures[n].rgb), 0u) << "frame " << n;
  }
  // Matroska keeps milliseconds: within one of them of 0.
  EXPECT_NEAR(static_cast<double>(clip.firstSample), 0.0, 44.1);
  EXPECT_EQ(clip.SampleCount(), whole.SampleCount());
  EXPECT_EQ(CountDifferences(clip.samples, whole.samples), 0u);
}

TEST(CaptureOutput, AFolderGetsAPicturePerFrameAndTheirMusic) {
  ScratchFolder folder;
  CommandResult captured = Capture({"--pack", ProductionPack(), "--music", ProductionMusic(), "--out", folder / "frames/",
                                    "--frames", "10:13", "--fsaa", "0"});
  ASSERT_EQ(captured.status, 0) << captured.err;
  std::vector<std::string> expected = {PictureName(10), PictureName(11), PictureName(12), "music.wav"};
  std::vector<std::string> written;
  for (const auto& entry : std::filesystem::directory_iterator(folder / "frames")) written.push_back(entry.path().filename());
  std::sort(written.begin(), written.end());
  EXPECT_EQ(written, expected);
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"frames"})) << "no temporary left beside it";

  Render(folder, 13, "0");
  for (int64_t n = 10; n < 13; ++n) {
    DecodedPng png = ReadPngFile(folder / ("frames/" + PictureName(n)));
    EXPECT_EQ(CountDifferences(RgbOf(png), RenderedRgb(folder, n)), 0u) << "frame " << n;
  }
  tools::DecodedMusic music = Music();
  tools::DecodedMusic wave;
  std::string error;
  ASSERT_TRUE(tools::DecodeMusic(folder / "frames/music.wav", wave, error)) << error;
  auto from = music.samples.begin() + FirstSampleOfFrame(10, music.sampleRate, TEST_FPS) * music.channels;
  auto to = music.samples.begin() + FirstSampleOfFrame(13, music.sampleRate, TEST_FPS) * music.channels;
  EXPECT_EQ(CountDifferences(wave.samples, std::vector<int16_t>(from, to)), 0u);
}

}  // namespace
