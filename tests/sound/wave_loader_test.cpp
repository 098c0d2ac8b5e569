#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "sound/wave_loader.h"
#include "tests/sound/decoder_edge_cases.h"
#include "tests/support/sound_test_data.h"
#include "tests/support/test_paths.h"

namespace {

constexpr uint32_t ONE_SECOND = 176400;  // 44100 Hz, 16-bit stereo
constexpr uint32_t BLOCK = 44100;

class WaveLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pcm = CountingPcm(ONE_SECOND);
    file = MakeWave(Pcm16Format(2, 44100), pcm);
    path = WriteScratchFile("one-second.wav", file);
    ASSERT_EQ(loader.Open(path.c_str()), SOUND_OK);
  }



  Bytes pcm;
  Bytes file;
  std::string path;
  WaveLoader loader;
};

TEST_F(WaveLoaderTest, ReadsBlocksUntilTheEndThenSilence) {
  WaveFormat format;
  EXPECT_EQ(loader.GetFormat(format), SOUND_OK);
  EXPECT_EQ(format.averageBytesPerSecond, ONE_SECOND);
  EXPECT_EQ(loader.GetSize(), ONE_SECOND);
  EXPECT_EQ(loader.GetLengthMs(), 1000u);
  ExpectQuarterSecondBlocksThenSilence(loader, pcm);
}

TEST_F(WaveLoaderTest, EndInsideABlockIsFollowedBySilenceOrTheStartWhenLooping) {
  ExpectEndInsideABlock(loader, pcm);
}

TEST_F(WaveLoaderTest, LoopingASoundShorterThanTheBlockRepeatsIt) {
  Bytes shortPcm = CountingPcm(40);
  std::string shortPath = WriteScratchFile("short.wav", MakeWave(Pcm16Format(2, 44100), shortPcm));
  WaveLoader shortLoader;
  ASSERT_EQ(shortLoader.Open(shortPath.c_str()), SOUND_OK);
  PcmBlock block;
  EXPECT_EQ(shortLoader.Read(block, 0, 100, true), SOUND_OK);
  for (size_t i = 0; i < 100; ++i) EXPECT_EQ(block.Data()[i], shortPcm[i % 40]) << i;
  EXPECT_EQ(shortLoader.GetPosition(), 20u);
}

TEST_F(WaveLoaderTest, SeeksByBytesAndMilliseconds) {
  EXPECT_EQ(loader.SeekBytes(1000, SOUND_SEEK_SET), SOUND_OK);
  EXPECT_EQ(loader.GetPosition(), 1000u);
  PcmBlock block;
  ASSERT_EQ(loader.Read(block, SOUND_CURRENT_POSITION, 8, false), SOUND_OK);
  EXPECT_TRUE(SameBytes(block.Data(), 0, pcm, 1000, 8));
  EXPECT_EQ(loader.SeekBytes(-8, SOUND_SEEK_END), SOUND_OK);
  ASSERT_EQ(loader.Read(block, SOUND_CURRENT_POSITION, 8, false), SOUND_OK);
  EXPECT_TRUE(SameBytes(block.Data(), 0, pcm, ONE_SECOND - 8, 8));

  EXPECT_EQ(loader.SeekMs(500, SOUND_SEEK_SET), SOUND_OK);
  EXPECT_EQ(loader.GetPosition(), 88200u);
  ASSERT_EQ(loader.Read(block, SOUND_CURRENT_POSITION, 8, false), SOUND_OK);
  EXPECT_TRUE(SameBytes(block.Data(), 0, pcm, 88200, 8));

  ASSERT_EQ(loader.Read(block, 2 * ONE_SECOND, 8, false), SOUND_ALREADY_ENDED);
  ASSERT_EQ(loader.Read(block, 2 * ONE_SECOND, 8, true), SOUND_OK);
  EXPECT_TRUE(SameBytes(block.Data(), 0, pcm, 0, 8));

  WaveLoader closed;
  EXPECT_EQ(closed.SeekBytes(0, SOUND_SEEK_SET), SOUND_NO_SOURCE);
}

TEST_F(WaveLoaderTest, WholeReadDeliversEverythingAndLaterReadsOpenAgain) {
  PcmBlock whole;
  ASSERT_EQ(loader.Read(whole, SOUND_CURRENT_POSITION, 0, false), SOUND_OK);
  ASSERT_EQ(whole.Size(), ONE_SECOND);
  EXPECT_TRUE(SameBytes(whole.Data(), 0, pcm, 0, ONE_SECOND));
  PcmBlock block;
  ASSERT_EQ(loader.Read(block, 44, 4, false), SOUND_OK);
  EXPECT_TRUE(SameBytes(block.Data(), 0, pcm, 44, 4));
}

TEST_F(WaveLoaderTest, MemorySourceReadsLikeTheDisk) {
  WaveLoader memory;
  ASSERT_EQ(memory.Open(SOUND_MEMORY_SOURCE_NAME, file.data(), file.size()), SOUND_OK);
  SoundSource source;
  ASSERT_EQ(memory.GetSourceInfo(source), SOUND_OK);
  EXPECT_EQ(source.recordSize, SOUND_SOURCE_RECORD_SIZE);
  EXPECT_EQ(source.size, file.size());
  EXPECT_STREQ(source.name, SOUND_MEMORY_SOURCE_NAME);
  PcmBlock fromMemory, fromDisk;
  ASSERT_EQ(memory.Read(fromMemory, 150000, BLOCK, false), SOUND_END_IN_BLOCK);
  ASSERT_EQ(loader.Read(fromDisk, 150000, BLOCK, false), SOUND_END_IN_BLOCK);
  EXPECT_EQ(std::memcmp(fromMemory.Data(), fromDisk.Data(), BLOCK), 0);
  ASSERT_EQ(loader.GetSourceInfo(source), SOUND_OK);
  EXPECT_EQ(source.size, file.size());
  EXPECT_EQ(path, source.name);
}

TEST(WaveLoader, EightBitSilenceIsTheMiddleValue) {
  WaveFormat format{WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8, 0};
  Bytes file = MakeWave(format, Bytes(10, 200));
  WaveLoader loader;
  ASSERT_EQ(loader.Open(SOUND_MEMORY_SOURCE_NAME, file.data(), file.size()), SOUND_OK);
  PcmBlock block;
  ASSERT_EQ(loader.Read(block, 6, 10, false), SOUND_END_IN_BLOCK);
  const Bytes expected = {200, 200, 200, 200, 128, 128, 128, 128, 128, 128};
  EXPECT_EQ(Bytes(block.Data(), block.Data() + 10), expected);
  ASSERT_EQ(loader.Read(block, SOUND_CURRENT_POSITION, 3, false), SOUND_ALREADY_ENDED);
  EXPECT_EQ(Bytes(block.Data(), block.Data() + 3), Bytes(3, 128));
}

TEST(WaveLoader, BadInputLeavesTheDecoderClosed) {
  WaveLoader loader;
  EXPECT_EQ(loader.Open((ScratchFolder() + "/missing.wav").c_str()), SOUND_OPEN_FAILED);
  SoundSource source;
  EXPECT_EQ(loader.GetSourceInfo(source), SOUND_NO_SOURCE);
  EXPECT_FALSE(loader.IsOpened());
  EXPECT_EQ(loader.GetSize(), 0u);

  Bytes garbage(1000, 0x5A);
  EXPECT_EQ(loader.Open(SOUND_MEMORY_SOURCE_NAME, garbage.data(), garbage.size()), SOUND_OPEN_FAILED);
  EXPECT_EQ(loader.Open(SOUND_MEMORY_SOURCE_NAME, nullptr, 100), SOUND_OPEN_FAILED);
  PcmBlock block;
  EXPECT_EQ(loader.Read(block, 0, 16, false), SOUND_SOURCE_FAILED);
  EXPECT_EQ(block.Size(), 0u);

  for (const char* name : {"crash-24728523ef4be15c838293b676f6853e73723bf4.wav",
                           "crash-b8447179832529c48f9c6bf17feab6337bbc78ea.wav",
                           "crash-cbd757427cea12bd8a21f86cd8cf74d98ce56bee.wav",
                           "crash-e879de4eb4d206c59e21f0e01def16457af80fdc.wav",
                           "oom-48ae4cd061ff8578ad3f23dc87624bd365cf5216.wav"}) {
    std::string malformed = SourcePath(std::string("tests/data/sound/fuzz/") + name);
    EXPECT_FALSE(loader.Probe(malformed.c_str())) << name;
    EXPECT_FALSE(loader.IsOpened());
  }
}

TEST(WaveLoader, ProbeLeavesTheDecoderClosed) {
  Bytes file = MakeWave(Pcm16Format(1, 22050), CountingPcm(64));
  WaveLoader loader;
  EXPECT_TRUE(loader.Probe(SOUND_MEMORY_SOURCE_NAME, file.data(), file.size()));
  EXPECT_FALSE(loader.IsOpened());
  EXPECT_EQ(loader.GetSize(), 0u);
}

}  // namespace
