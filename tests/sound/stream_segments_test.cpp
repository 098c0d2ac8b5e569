#include <gtest/gtest.h>

#include "sound/stream_segments.h"

namespace {

TEST(StreamSegments, AQuarterSecondRoundedDownToWholeBlocks) {
  EXPECT_EQ(StreamSegmentBytes(Pcm16Format(2, 44100)), 44100u);
  EXPECT_EQ(StreamSegmentBytes(Pcm16Format(2, 44100)) * STREAM_SEGMENT_COUNT, 529200u);
  EXPECT_EQ(StreamSegmentBytes(Pcm16Format(1, 22050)), 11024u);
  EXPECT_EQ(StreamSegmentBytes(Pcm16Format(2, 48000)), 48000u);
}

TEST(StreamSegments, PlayStartIsTruncatedThenRoundedToTheNearestBlock) {
  WaveFormat stereo = Pcm16Format(2, 44100);
  EXPECT_EQ(PlayStartBytes(1001, stereo), 176576u);
  EXPECT_EQ(PlayStartBytes(0, stereo), 0u);
  WaveFormat odd = stereo;
  odd.averageBytesPerSecond = 1002;  // 1 ms = 1.002 bytes: remainders 1, 2 and 3 of a 4-byte block
  EXPECT_EQ(PlayStartBytes(1000, odd), 1000u);  // 1002 -> 1000: exactly half rounds down
  EXPECT_EQ(PlayStartBytes(1500, odd), 1504u);  // 1503 -> 1504
  EXPECT_EQ(PlayStartBytes(500, odd), 500u);    // 501 -> 500
}

TEST(StreamSegments, ASegmentIsDueHalfASegmentBeforeTheCursorReachesIt) {
  const uint32_t segment = 44100;
  EXPECT_FALSE(SegmentDue(0, segment, segment));
  EXPECT_FALSE(SegmentDue(segment / 2 - 4, segment, segment));
  EXPECT_TRUE(SegmentDue(segment / 2, segment, segment));
  EXPECT_TRUE(SegmentDue(segment, segment, segment));
  EXPECT_TRUE(SegmentDue(5 * segment + segment / 2, 6 * segment, segment));
}

TEST(StreamSegments, TheFirstSegmentWaitsUntilTheCursorHasWrapped) {
  const uint32_t segment = 44100;
  const uint32_t buffer = segment * STREAM_SEGMENT_COUNT;
  // After the last segment is written, W is 0: a cursor in the second half has not wrapped.
  EXPECT_FALSE(SegmentDue(6 * segment, 0, segment));
  EXPECT_FALSE(SegmentDue(11 * segment, 0, segment));
  EXPECT_FALSE(SegmentDue(buffer - segment / 2 - 4, 0, segment));
  // Half a segment before the end, the cursor plus half a segment wraps to the start.
  EXPECT_TRUE(SegmentDue(buffer - segment / 2, 0, segment));
  EXPECT_TRUE(SegmentDue(1000, 0, segment));
  // A cursor in the first half always finds segment 0 due.
  EXPECT_TRUE(SegmentDue(5 * segment - segment / 2 - 4, 0, segment));
}

}  // namespace
