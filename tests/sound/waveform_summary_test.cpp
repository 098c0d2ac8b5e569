// The waveform's outline: peaks of any span of frames from the buckets it touches, frames cut
// across blocks put back together, and only formats it can read.
#include <gtest/gtest.h>

#include "sound/waveform_summary.h"
#include "tests/support/sound_test_data.h"

namespace {

TEST(WaveformSummary, AnswersSpansFromTheBucketsTheyTouch) {
  // Stereo 16-bit: one loud frame in the second bucket, its channels apart; quiet elsewhere.
  std::vector<int16_t> samples(2 * WAVEFORM_BUCKET_FRAMES * 3, 0);
  samples[2 * 10] = 1024;
  samples[2 * (WAVEFORM_BUCKET_FRAMES + 5)] = -16384;
  samples[2 * (WAVEFORM_BUCKET_FRAMES + 5) + 1] = 8192;
  const Bytes pcm = SamplesAsBytes(samples);
  WaveformSummary summary;
  ASSERT_TRUE(summary.Start(Pcm16Format(2, 44100)));
  // Blocks of 7 bytes cut frames (4 bytes) and samples apart.
  for (size_t at = 0; at < pcm.size(); at += 7) summary.Add(pcm.data() + at, std::min<size_t>(7, pcm.size() - at));
  EXPECT_EQ(summary.Frames(), 3u * WAVEFORM_BUCKET_FRAMES);
  EXPECT_FLOAT_EQ(summary.Loudest(), 0.5f);

  const uint64_t B = WAVEFORM_BUCKET_FRAMES;
  struct Span {
    uint64_t first, end;
    float low, high;
  } const SPANS[] = {
      {0, 1, 0.0f, 1024 / 32768.0f},       // widened to its whole bucket
      {0, B, 0.0f, 1024 / 32768.0f},
      {B, B + 1, -0.5f, 0.25f},            // both channels count
      {B - 1, B + 1, -0.5f, 0.25f},        // across two buckets
      {2 * B, 3 * B, 0.0f, 0.0f},
      {0, 10 * B, -0.5f, 0.25f},           // past the end: what there is
      {3 * B, 4 * B, 0.0f, 0.0f},          // nothing there
      {5, 5, 0.0f, 0.0f},                  // empty
      {9, 3, 0.0f, 0.0f},                  // backwards
  };
  for (const Span& span : SPANS) {
    SCOPED_TRACE(std::to_string(span.first) + ".." + std::to_string(span.end));
    const WaveformPeak peak = summary.PeakOf(span.first, span.end);
    EXPECT_FLOAT_EQ(peak.low, span.low);
    EXPECT_FLOAT_EQ(peak.high, span.high);
  }
}

TEST(WaveformSummary, ReadsEightBitAndRefusesWhatItCannotRead) {
  WaveFormat eight = Pcm16Format(1, 8000);
  eight.bitsPerSample = 8;
  WaveformSummary summary;
  ASSERT_TRUE(summary.Start(eight));
  const uint8_t pcm[] = {128, 0, 255, 128};
  summary.Add(pcm, sizeof pcm);
  const WaveformPeak peak = summary.PeakOf(0, 4);
  EXPECT_FLOAT_EQ(peak.low, -1.0f);
  EXPECT_FLOAT_EQ(peak.high, 127 / 128.0f);

  WaveFormat wide = Pcm16Format(2, 48000);
  wide.bitsPerSample = 24;
  EXPECT_FALSE(summary.Start(wide));
  summary.Add(pcm, sizeof pcm);
  EXPECT_EQ(summary.Frames(), 0u) << "nothing is added to a summary that did not start";
  EXPECT_FALSE(summary.Start(Pcm16Format(0, 48000)));
}

}  // namespace
