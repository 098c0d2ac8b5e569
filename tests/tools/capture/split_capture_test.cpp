// A capture split into segments by GNU parallel and joined again, on a production whose line 0
// is idle where the split falls, so the second segment must start from what line 0 last drew.
#include <gtest/gtest.h>

#include "tests/tools/capture/capture_test_support.h"
#include "tests/support/test_paths.h"
#include "tests/tools/capture/decoded_media.h"

namespace {

// Line 0 draws the opening to 3 s and the finale from 5 s; at 4 s (frame 120) it is idle.
constexpr const char IDLE_LINE_TIMELINE[] = R"(<?xml version="1.0" encoding="utf-8"?>
<TRDataXml name="sceneLineDefine">
  <SceneLineEntry tdfId="opening" line="0" sTime="0" eTime="3000" shader="default"/>
  <SceneLineEntry tdfId="finale" line="0" sTime="5000" eTime="8000" shader="lineTint"/>
  <SceneLineEntry tdfId="backdrop" line="1" sTime="0" eTime="8000" shader="default"/>
</TRDataXml>
)";

class SplitCapture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sFolder = new ScratchFolder;
    sPack = StageProduction(*sFolder, "idle", {{"data/definition/sceneLineDefine.xml", IDLE_LINE_TIMELINE}});
    if (sPack.empty()) return;
    sWhole = Capture({"--pack", sPack, "--music", ProductionMusic(), "--out", *sFolder / "whole.mkv"});
    // Segments in the reverse of frame order: the join puts them right.
    sParallel = RunCommand("/usr/bin/parallel",
                           {"--will-cite", "-j2", "--halt", "now,fail=1", BinaryTool(), "capture", "--pack", sPack,
                            "--music", ProductionMusic(), "--width", std::to_string(TEST_WIDTH), "--height",
                            std::to_string(TEST_HEIGHT), "--fps", std::to_string(TEST_FPS), "--quiet", "--frames", "{}",
                            "--out", *sFolder / "seg-{#}.mkv", ":::", "120:240", "0:120"});
  }
  static void TearDownTestSuite() {
    delete sFolder;
    sFolder = nullptr;
  }
  void SetUp() override {
    ASSERT_FALSE(sPack.empty());
    ASSERT_EQ(sWhole.status, 0) << sWhole.err;
    ASSERT_EQ(sParallel.status, 0) << sParallel.err;
  }

  static std::string Segment(const std::string& name) { return *sFolder / name; }
  static std::string BinaryTool();

  // Captures another segment of the same production; returns its path.
  static std::string ExtraSegment(const std::string& frames, const std::vector<std::string>& more = {}) {
    std::string path = *sFolder / ("extra-" + frames + ".mkv");
    std::vector<std::string> args = {"--pack", sPack, "--music", ProductionMusic(), "--frames", frames, "--out", path};
    args.insert(args.end(), more.begin(), more.end());
    CommandResult captured = Capture(args);
    EXPECT_EQ(captured.status, 0) << captured.err;
    return path;
  }

  static ScratchFolder* sFolder;
  static std::string sPack;
  static CommandResult sWhole;
  static CommandResult sParallel;
};

ScratchFolder* SplitCapture::sFolder = nullptr;
std::string SplitCapture::sPack;
CommandResult SplitCapture::sWhole;
CommandResult SplitCapture::sParallel;

std::string SplitCapture::BinaryTool() { return BinaryPath("tools/torvane-tool"); }

TEST_F(SplitCapture, JoinedSegmentsEqualOneWholeCapture) {
  CommandResult joined = RunTool({"capture-join", Segment("joined.mkv"), Segment("seg-1.mkv"), Segment("seg-2.mkv")});
  ASSERT_EQ(joined.status, 0) << joined.err;
  DecodedMedia whole;
  DecodedMedia parts;
  std::string error;
  ASSERT_TRUE(DecodeMedia(Segment("whole.mkv"), TEST_FPS, whole, error)) << error;
  ASSERT_TRUE(DecodeMedia(Segment("joined.mkv"), TEST_FPS, parts, error)) << error;
  ASSERT_EQ(parts.pictures.size(), whole.pictures.size());
  for (size_t n = 0; n < whole.pictures.size(); ++n) {
    ASSERT_EQ(parts.pictures[n].frame, whole.pictures[n].frame);
    ASSERT_EQ(CountDifferences(parts.pictures[n].rgb, whole.pictures[n].rgb), 0u) << "frame " << n;
  }
  EXPECT_EQ(parts.firstSample, whole.firstSample);
  EXPECT_EQ(CountDifferences(parts.samples, whole.samples), 0u);
}

TEST_F(SplitCapture, ASegmentCarriesItsPlaceInTheWhole) {
  DecodedMedia second;
  std::string error;
  ASSERT_TRUE(DecodeMedia(Segment("seg-1.mkv"), TEST_FPS, second, error)) << error;
  ASSERT_EQ(second.pictures.size(), 120u);
  EXPECT_EQ(second.pictures.front().frame, 120);
  // Frame 120 starts the sound at sample 120 × 44100 / 30; Matroska keeps milliseconds.
  EXPECT_NEAR(static_cast<double>(second.firstSample), 176400.0, 44.1);
  EXPECT_EQ(second.SampleCount(), 352800 - 176400);
}

TEST_F(SplitCapture, JoinRefusesGapsOverlapsAndUnlikeSegments) {
  struct Case {
    std::string segment;
    std::string message;
  };
  const std::vector<Case> cases = {
      {ExtraSegment("130:140"), "frames 120 to 129"},
      {ExtraSegment("110:125"), "inside"},
      {ExtraSegment("120:130", {"--width", "96", "--height", "54"}), "unlike"},
      {ExtraSegment("120:121", {"--codec", "h264"}), "unlike"},
  };
  for (const Case& c : cases) {
    CommandResult joined = RunTool({"capture-join", Segment("refused.mkv"), Segment("seg-2.mkv"), c.segment});
    EXPECT_EQ(joined.status, 1) << c.segment;
    EXPECT_NE(joined.err.find(c.message), std::string::npos) << joined.err;
  }
  std::string first = *sFolder / "a.mp4";
  std::string second = *sFolder / "b.mp4";
  ASSERT_EQ(Capture({"--pack", sPack, "--music", ProductionMusic(), "--frames", "0:3", "--out", first}).status, 0);
  ASSERT_EQ(Capture({"--pack", sPack, "--music", ProductionMusic(), "--frames", "3:6", "--out", second}).status, 0);
  CommandResult joined = RunTool({"capture-join", Segment("refused.mp4"), first, second});
  EXPECT_EQ(joined.status, 1);
  EXPECT_NE(joined.err.find("--audio flac"), std::string::npos) << joined.err;
  for (const std::string& name : sFolder->Entries()) EXPECT_EQ(name.find("refused"), std::string::npos) << name;
}

// H.264 has no B-frames in a capture, so its segments join too, here in MP4 with FLAC sound.
TEST_F(SplitCapture, H264SegmentsWithFlacSoundJoinIntoMp4) {
  std::vector<std::string> parts = {*sFolder / "h1.mp4", *sFolder / "h2.mp4"};
  ASSERT_EQ(Capture({"--pack", sPack, "--music", ProductionMusic(), "--audio", "flac", "--frames", "0:15", "--out", parts[0]}).status, 0);
  ASSERT_EQ(Capture({"--pack", sPack, "--music", ProductionMusic(), "--audio", "flac", "--frames", "15:30", "--out", parts[1]}).status, 0);
  CommandResult joined = RunTool({"capture-join", Segment("h.mp4"), parts[1], parts[0]});
  ASSERT_EQ(joined.status, 0) << joined.err;
  DecodedMedia whole;
  std::string error;
  ASSERT_TRUE(DecodeMedia(Segment("h.mp4"), TEST_FPS, whole, error)) << error;
  std::vector<DecodedPicture> pictures;
  std::vector<int16_t> samples;
  for (const std::string& part : parts) {
    DecodedMedia media;
    ASSERT_TRUE(DecodeMedia(part, TEST_FPS, media, error)) << error;
    pictures.insert(pictures.end(), media.pictures.begin(), media.pictures.end());
    samples.insert(samples.end(), media.samples.begin(), media.samples.end());
  }
  ASSERT_EQ(whole.pictures.size(), 30u);
  for (size_t n = 0; n < pictures.size(); ++n) {
    EXPECT_EQ(whole.pictures[n].frame, static_cast<int64_t>(n));
    EXPECT_EQ(CountDifferences(whole.pictures[n].rgb, pictures[n].rgb), 0u) << "frame " << n;
  }
  EXPECT_EQ(whole.firstSample, 0);
  EXPECT_EQ(CountDifferences(whole.samples, samples), 0u);
  EXPECT_EQ(whole.SampleCount(), 44100);
}

}  // namespace
