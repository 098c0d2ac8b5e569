#include <string>

#include <gtest/gtest.h>

#include "sound/riff_reader.h"
#include "sound/wave_layout.h"
#include "tests/support/sound_test_data.h"
#include "tests/support/test_paths.h"

namespace {

WaveFormat StereoFormat() { return Pcm16Format(2, 44100); }

bool Layout(const Bytes& file, WaveLayout& out) {
  MemoryRiffSource source(file.data(), file.size());
  return ReadWaveLayout(source, out);
}

TEST(RiffReader, SkipsOddSizedChunksByTheirPadByteAndReadsOnlyEighteenFormatBytes) {
  Bytes fmt;
  WaveFormat format = StereoFormat();
  AppendU16(fmt, 0xFFFE);
  AppendU16(fmt, format.channels);
  AppendU32(fmt, format.samplesPerSecond);
  AppendU32(fmt, format.averageBytesPerSecond);
  AppendU16(fmt, format.blockAlign);
  AppendU16(fmt, format.bitsPerSample);
  AppendU16(fmt, 22);
  fmt.resize(40, 0xAB);  // an extensible record: 22 more bytes that must not land anywhere
  Bytes body = {'W', 'A', 'V', 'E'};
  AppendChunk(body, "LIST", Bytes(5, 'x'));  // odd: followed by a pad byte
  AppendChunk(body, "fmt ", fmt);
  AppendChunk(body, "JUNK", Bytes(3, 0));
  AppendChunk(body, "data", CountingPcm(8));
  Bytes file;
  AppendChunk(file, "RIFF", body);

  WaveLayout layout;
  ASSERT_TRUE(Layout(file, layout));
  EXPECT_EQ(layout.format.formatTag, 0xFFFE);
  EXPECT_EQ(layout.format.channels, 2);
  EXPECT_EQ(layout.format.samplesPerSecond, 44100u);
  EXPECT_EQ(layout.format.blockAlign, 4);
  EXPECT_EQ(layout.format.extraSize, 22);
  EXPECT_EQ(layout.dataSize, 8u);
  EXPECT_EQ(layout.dataOffset, file.size() - 8);
}

TEST(RiffReader, ChunkNavigationHonoursParentBounds) {
  Bytes file = MakeWave(StereoFormat(), CountingPcm(16));
  MemoryRiffSource source(file.data(), file.size());
  RiffChunk wave;
  ASSERT_TRUE(FindRiffForm(source, RIFF_ID_WAVE, wave));
  EXPECT_EQ(wave.dataOffset, 12u);
  EXPECT_EQ(wave.end, file.size());
  RiffChunk fmt;
  ASSERT_TRUE(DescendRiffChunk(source, wave, wave.dataOffset, RIFF_ID_FMT, fmt));
  EXPECT_EQ(AscendRiffChunk(fmt), 36u);
  RiffChunk data;
  EXPECT_FALSE(DescendRiffChunk(source, fmt, fmt.dataOffset, RIFF_ID_DATA, data));
  EXPECT_TRUE(DescendRiffChunk(source, wave, AscendRiffChunk(fmt), RIFF_ID_DATA, data));
  EXPECT_FALSE(FindRiffForm(source, RiffFourCC('A', 'V', 'I', ' '), wave));
}

TEST(RiffReader, RefusesFilesThatLie) {
  Bytes good = MakeWave(StereoFormat(), CountingPcm(64));
  WaveLayout layout;
  ASSERT_TRUE(Layout(good, layout));

  Bytes longData = good;
  longData[40] = 0xFF;  // data chunk size runs past the end of the file
  EXPECT_FALSE(Layout(longData, layout));

  Bytes shortFmt = good;
  shortFmt[16] = 14;  // a 14-byte format has no bits per sample
  EXPECT_FALSE(Layout(shortFmt, layout));

  for (size_t field : {22u, 24u, 28u, 32u, 34u}) {  // channels, rate, bytes per second, block, bits
    Bytes zero = good;
    zero[field] = 0;
    zero[field + 1] = 0;
    if (field == 24 || field == 28) zero[field + 2] = zero[field + 3] = 0;
    EXPECT_FALSE(Layout(zero, layout)) << "zeroed field at " << field;
  }

  Bytes notWave = good;
  notWave[8] = 'X';
  EXPECT_FALSE(Layout(notWave, layout));

  // 'data' before 'fmt ' is not found by a reader that ascends out of 'fmt ' first.
  Bytes body = {'W', 'A', 'V', 'E'};
  AppendChunk(body, "data", CountingPcm(4));
  Bytes fmt(good.begin() + 20, good.begin() + 36);
  AppendChunk(body, "fmt ", fmt);
  Bytes swapped;
  AppendChunk(swapped, "RIFF", body);
  EXPECT_FALSE(Layout(swapped, layout));
}

TEST(RiffReader, ToleratesARiffSizePastTheEndButNoTruncatedChunk) {
  Bytes file = MakeWave(StereoFormat(), CountingPcm(64));
  file[4] = 0xF0;  // RIFF size larger than the file, as some writers leave it
  WaveLayout layout;
  EXPECT_TRUE(Layout(file, layout));
  for (size_t cut = 0; cut < file.size(); ++cut) {
    Bytes truncated(file.begin(), file.begin() + cut);
    EXPECT_FALSE(Layout(truncated, layout)) << "cut at " << cut;
  }
}

TEST(RiffReader, ReadsRealWorldFiles) {
  struct Expected {
    const char* name;
    uint16_t tag, channels;
    uint32_t rate;
    uint16_t bits;
    uint32_t dataSize;
  };
  const Expected files[] = {
      {"pop.wav", 0xFFFE, 1, 44100, 16, 200},
      {"waveformatex-16bit-44100Hz-stereo.wav", 1, 2, 44100, 16, 16},
      {"waveformatex-8bit-11025Hz-mono.wav", 1, 1, 11025, 8, 4},
      {"pcmwaveformat-16bit-44100Hz-mono-extra.wav", 1, 1, 44100, 16, 8},  // a LIST chunk between
      {"nonstandard-01.wav", 1, 2, 48000, 24, 6},  // JUNK, bext and minf chunks, a 40-byte format
  };
  for (const Expected& expected : files) {
    Bytes file = ReadWholeFile(SourcePath(std::string("tests/data/sound/") + expected.name));
    ASSERT_FALSE(file.empty()) << expected.name;
    WaveLayout layout;
    ASSERT_TRUE(Layout(file, layout)) << expected.name;
    EXPECT_EQ(layout.format.formatTag, expected.tag) << expected.name;
    EXPECT_EQ(layout.format.channels, expected.channels) << expected.name;
    EXPECT_EQ(layout.format.samplesPerSecond, expected.rate) << expected.name;
    EXPECT_EQ(layout.format.bitsPerSample, expected.bits) << expected.name;
    EXPECT_EQ(layout.dataSize, expected.dataSize) << expected.name;
    EXPECT_LE(layout.dataOffset + layout.dataSize, file.size()) << expected.name;
  }
}

}  // namespace
