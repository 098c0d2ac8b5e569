#include "tests/sound/decoder_edge_cases.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t ONE_SECOND = 176400;
constexpr uint32_t BLOCK = 44100;

}  // namespace

void ExpectQuarterSecondBlocksThenSilence(CSoundLoader& loader, const Bytes& pcm) {
  ASSERT_EQ(pcm.size(), ONE_SECOND);
  for (uint32_t i = 0; i < 4; ++i) {
    PcmBlock block;
    ASSERT_EQ(loader.Read(block, SOUND_CURRENT_POSITION, BLOCK, false), SOUND_OK) << i;
    ASSERT_EQ(block.Size(), BLOCK);
    EXPECT_TRUE(SameBytes(block.Data(), 0, pcm, i * BLOCK, BLOCK)) << i;
    EXPECT_EQ(loader.GetPosition(), (i + 1) * BLOCK);
  }
  PcmBlock after;
  EXPECT_EQ(loader.Read(after, SOUND_CURRENT_POSITION, BLOCK, false), SOUND_ALREADY_ENDED);
  ASSERT_EQ(after.Size(), BLOCK);
  EXPECT_TRUE(AllBytesAre(after.Data(), 0, BLOCK, 0));
}

void ExpectEndInsideABlock(CSoundLoader& loader, const Bytes& pcm) {
  ASSERT_EQ(pcm.size(), ONE_SECOND);
  PcmBlock block;
  EXPECT_EQ(loader.Read(block, 150000, BLOCK, false), SOUND_END_IN_BLOCK);
  EXPECT_TRUE(SameBytes(block.Data(), 0, pcm, 150000, 26400));
  EXPECT_TRUE(AllBytesAre(block.Data(), 26400, 17700, 0));

  PcmBlock looped;
  EXPECT_EQ(loader.Read(looped, 150000, BLOCK, true), SOUND_OK);
  EXPECT_TRUE(SameBytes(looped.Data(), 0, pcm, 150000, 26400));
  EXPECT_TRUE(SameBytes(looped.Data(), 26400, pcm, 0, 17700));
  EXPECT_EQ(loader.GetPosition(), 17700u);
  PcmBlock next;
  EXPECT_EQ(loader.Read(next, SOUND_CURRENT_POSITION, 100, true), SOUND_OK);
  EXPECT_TRUE(SameBytes(next.Data(), 0, pcm, 17700, 100));
}
