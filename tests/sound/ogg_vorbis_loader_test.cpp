#include <cstring>
#include <string>

#include <gtest/gtest.h>
#include <ogg/ogg.h>

#include "sound/ogg_memory_source.h"
#include "sound/ogg_page_order.h"
#include "sound/ogg_vorbis_loader.h"
#include "tests/sound/decoder_edge_cases.h"
#include "tests/support/sound_test_data.h"

namespace {

constexpr uint32_t ONE_SECOND = 176400;
constexpr uint32_t BLOCK = 44100;

class OggVorbisLoaderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ogg = new Bytes(TestOggVorbis(1.0, 2, 44100));
    path = new std::string(WriteScratchFile("one-second.ogg", *ogg));
    OggVorbisLoader reference;
    ASSERT_EQ(reference.Open(path->c_str()), SOUND_OK);
    PcmBlock whole;
    ASSERT_EQ(reference.Read(whole, SOUND_CURRENT_POSITION, 0, false), SOUND_OK);
    pcm = new Bytes(whole.Data(), whole.Data() + whole.Size());
  }
  static void TearDownTestSuite() {
    delete ogg;
    delete path;
    delete pcm;
  }

  void SetUp() override { ASSERT_EQ(loader.Open(path->c_str()), SOUND_OK); }



  static Bytes* ogg;
  static std::string* path;
  static Bytes* pcm;
  OggVorbisLoader loader;
};

Bytes* OggVorbisLoaderTest::ogg = nullptr;
std::string* OggVorbisLoaderTest::path = nullptr;
Bytes* OggVorbisLoaderTest::pcm = nullptr;

TEST_F(OggVorbisLoaderTest, ReportsSixteenBitPcmOfTheStreamLength) {
  WaveFormat format;
  loader.GetFormat(format);
  EXPECT_EQ(format.formatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(format.samplesPerSecond, 44100u);
  EXPECT_EQ(format.bitsPerSample, 16);
  EXPECT_EQ(format.blockAlign, 4);
  EXPECT_EQ(format.averageBytesPerSecond, ONE_SECOND);
  EXPECT_EQ(loader.GetSize(), ONE_SECOND);
  EXPECT_EQ(loader.GetLengthMs(), 1000u);
  EXPECT_EQ(pcm->size(), ONE_SECOND);
}

TEST_F(OggVorbisLoaderTest, BlocksJoinUpToTheWholeSoundThenSilence) {
  ExpectQuarterSecondBlocksThenSilence(loader, *pcm);
}

TEST_F(OggVorbisLoaderTest, EndInsideABlockAndLooping) {
  ExpectEndInsideABlock(loader, *pcm);
}

TEST_F(OggVorbisLoaderTest, PositionZeroRewindsLikeAnyOtherPosition) {
  PcmBlock block;
  ASSERT_EQ(loader.Read(block, SOUND_CURRENT_POSITION, BLOCK, false), SOUND_OK);
  ASSERT_EQ(loader.Read(block, 0, 400, false), SOUND_OK);
  EXPECT_TRUE(SameBytes(block.Data(), 0, *pcm, 0, 400));
}

TEST_F(OggVorbisLoaderTest, Seeks) {
  EXPECT_EQ(loader.SeekBytes(88200, SOUND_SEEK_SET), SOUND_OK);
  EXPECT_EQ(loader.GetPosition(), 88200u);
  PcmBlock block;
  ASSERT_EQ(loader.Read(block, SOUND_CURRENT_POSITION, 400, false), SOUND_OK);
  EXPECT_TRUE(SameBytes(block.Data(), 0, *pcm, 88200, 400));

  EXPECT_EQ(loader.SeekMs(250, SOUND_SEEK_SET), SOUND_OK);
  EXPECT_EQ(loader.GetPosition(), 44100u);
  ASSERT_EQ(loader.Read(block, SOUND_CURRENT_POSITION, 400, false), SOUND_OK);
  EXPECT_TRUE(SameBytes(block.Data(), 0, *pcm, 44100, 400));

  EXPECT_EQ(loader.SeekBytes(10 * ONE_SECOND, SOUND_SEEK_SET), SOUND_SOURCE_FAILED);
  EXPECT_EQ(loader.GetPosition(), 0u);
  EXPECT_EQ(loader.Read(block, SOUND_CURRENT_POSITION, 400, false), SOUND_ALREADY_ENDED);
  EXPECT_EQ(loader.Read(block, 10 * ONE_SECOND, 400, false), SOUND_ALREADY_ENDED);
  EXPECT_EQ(loader.SeekMs(100, SOUND_SEEK_SET), SOUND_OK);
  EXPECT_EQ(loader.SeekMs(5000, SOUND_SEEK_SET), SOUND_OK);
  EXPECT_EQ(loader.Read(block, SOUND_CURRENT_POSITION, 400, false), SOUND_ALREADY_ENDED);

  OggVorbisLoader closed;
  EXPECT_EQ(closed.SeekBytes(0, SOUND_SEEK_SET), SOUND_OK);
}

TEST_F(OggVorbisLoaderTest, MemorySourceDecodesExactlyAsTheDisk) {
  OggVorbisLoader memory;
  ASSERT_EQ(memory.Open(SOUND_MEMORY_SOURCE_NAME, ogg->data(), ogg->size()), SOUND_OK);
  EXPECT_EQ(memory.GetSize(), loader.GetSize());
  PcmBlock whole;
  ASSERT_EQ(memory.Read(whole, SOUND_CURRENT_POSITION, 0, false), SOUND_OK);
  ASSERT_EQ(whole.Size(), pcm->size());
  EXPECT_TRUE(SameBytes(whole.Data(), 0, *pcm, 0, pcm->size()));
  PcmBlock block;
  ASSERT_EQ(memory.Read(block, 100000, BLOCK, false), SOUND_OK);
  EXPECT_TRUE(SameBytes(block.Data(), 0, *pcm, 100000, BLOCK));
}

TEST_F(OggVorbisLoaderTest, DamagedStreamsAreRefusedOrEndCleanly) {
  OggVorbisLoader other;
  Bytes garbage(4096, 0x33);
  EXPECT_EQ(other.Open(SOUND_MEMORY_SOURCE_NAME, garbage.data(), garbage.size()), SOUND_OPEN_FAILED);
  EXPECT_FALSE(other.IsOpened());
  SoundSource source;
  EXPECT_EQ(other.GetSourceInfo(source), SOUND_NO_SOURCE);
  Bytes headersOnly(ogg->begin(), ogg->begin() + 60);
  EXPECT_EQ(other.Open(SOUND_MEMORY_SOURCE_NAME, headersOnly.data(), headersOnly.size()), SOUND_OPEN_FAILED);
  EXPECT_EQ(other.Open((ScratchFolder() + "/missing.ogg").c_str()), SOUND_OPEN_FAILED);

  // Cut in the middle: whatever opens must end with silence, never run on.
  Bytes half(ogg->begin(), ogg->begin() + ogg->size() / 2);
  if (other.Open(SOUND_MEMORY_SOURCE_NAME, half.data(), half.size()) == SOUND_OK) {
    int status = SOUND_OK;
    for (int reads = 0; status == SOUND_OK && reads < 100; ++reads) {
      PcmBlock block;
      status = other.Read(block, SOUND_CURRENT_POSITION, BLOCK, false);
    }
    EXPECT_TRUE(status == SOUND_END_IN_BLOCK || status == SOUND_ALREADY_ENDED) << status;
  }
}

// Pages of a stream that come again after its last one (a spliced file) made the Ogg library
// move memory of negative size while decoding; such a file is refused before decoding. A chain
// that begins the stream again with a first page is still a stream in order. A spliced file that
// seeks into the Ogg library's fault is in the fuzz corpus.
TEST_F(OggVorbisLoaderTest, AStreamWhosePagesComeAgainIsRefusedAndAChainIsNot) {
  size_t secondPage = 0;
  for (size_t at = 4; at + 4 <= ogg->size() && !secondPage; ++at) {
    if (std::memcmp(&(*ogg)[at], "OggS", 4) == 0) secondPage = at;
  }
  ASSERT_GT(secondPage, 0u);
  Bytes spliced = *ogg;
  spliced.insert(spliced.end(), ogg->begin() + static_cast<long>(secondPage), ogg->end());
  std::string fault;
  EXPECT_FALSE(OggPagesInOrder(spliced.data(), spliced.size(), fault));
  EXPECT_NE(fault.find("comes after that stream's last page"), std::string::npos) << fault;
  OggVorbisLoader other;
  EXPECT_EQ(other.Open(SOUND_MEMORY_SOURCE_NAME, spliced.data(), spliced.size()), SOUND_OPEN_FAILED);
  std::string splicedPath = WriteScratchFile("spliced.ogg", spliced);
  EXPECT_EQ(other.Open(splicedPath.c_str()), SOUND_OPEN_FAILED);

  // A second stream that begins after the first one's data began: a link's streams begin together.
  Bytes interleaved(ogg->begin(), ogg->begin() + static_cast<long>(secondPage));
  Bytes otherStream(ogg->begin(), ogg->begin() + static_cast<long>(secondPage));
  otherStream[14] ^= 0x5A;  // the serial number
  ogg_page first{otherStream.data(), 27 + otherStream[26], otherStream.data() + 27 + otherStream[26],
                 static_cast<long>(otherStream.size()) - 27 - otherStream[26]};
  ogg_page_checksum_set(&first);
  size_t thirdPage = secondPage + 27 + (*ogg)[secondPage + 26];
  for (int segment = 0; segment < (*ogg)[secondPage + 26]; ++segment) thirdPage += (*ogg)[secondPage + 27 + segment];
  interleaved.insert(interleaved.end(), ogg->begin() + static_cast<long>(secondPage), ogg->begin() + static_cast<long>(thirdPage));
  interleaved.insert(interleaved.end(), otherStream.begin(), otherStream.end());
  interleaved.insert(interleaved.end(), ogg->begin() + static_cast<long>(thirdPage), ogg->end());
  EXPECT_FALSE(OggPagesInOrder(interleaved.data(), interleaved.size(), fault));
  EXPECT_NE(fault.find("begins in the middle of stream"), std::string::npos) << fault;
  EXPECT_EQ(other.Open(SOUND_MEMORY_SOURCE_NAME, interleaved.data(), interleaved.size()), SOUND_OPEN_FAILED);

  Bytes chained = *ogg;
  chained.insert(chained.end(), ogg->begin(), ogg->end());
  EXPECT_TRUE(OggPagesInOrder(chained.data(), chained.size(), fault)) << fault;
  EXPECT_TRUE(OggPagesInOrder(ogg->data(), ogg->size(), fault)) << fault;
}

// A page of its own: one byte of payload, its flags, serial and number, a valid checksum.
Bytes RawPage(uint32_t serial, uint32_t number, bool first, bool last) {
  Bytes page(29, 0);
  std::memcpy(page.data(), "OggS", 4);
  page[5] = static_cast<uint8_t>((first ? 2 : 0) | (last ? 4 : 0));
  for (int i = 0; i < 4; ++i) {
    page[14 + i] = static_cast<uint8_t>(serial >> (8 * i));
    page[18 + i] = static_cast<uint8_t>(number >> (8 * i));
  }
  page[26] = 1;
  page[27] = 1;
  page[28] = 'x';
  ogg_page view{page.data(), 28, page.data() + 28, 1};
  ogg_page_checksum_set(&view);
  return page;
}

// Pages written as "A0b A1 A2e": stream letter, page number, b for a first page, e for a last.
Bytes Pages(const std::string& written) {
  Bytes bytes;
  size_t at = 0;
  while (at < written.size()) {
    size_t end = written.find(' ', at);
    std::string word = written.substr(at, end == std::string::npos ? std::string::npos : end - at);
    Bytes page = RawPage(static_cast<uint32_t>(word[0]), static_cast<uint32_t>(std::stoul(word.substr(1))),
                         word.find('b') != std::string::npos, word.find('e') != std::string::npos);
    bytes.insert(bytes.end(), page.begin(), page.end());
    at = end == std::string::npos ? written.size() : end + 1;
  }
  return bytes;
}

// Only the two disorders the Ogg library is known to fail on are refused; every other pattern a
// chain, a multiplexed link or a damaged file makes passes to the decoder, which plays it.
TEST(OggPageOrder, RefusesOnlyPagesAfterTheLastAndStreamsSplicedIntoAnother) {
  struct Case {
    const char* pages;
    const char* fault;  // null: in order
  };
  for (const Case& c : {Case{"A0b A1 A2e", nullptr},
                        Case{"A0b A1e B0b B1e", nullptr},
                        Case{"A0b A1 B0b B1e", nullptr},  // a chain whose first stream never ends
                        Case{"A0b A1 A0b A1e", nullptr},  // the same serial number begun again
                        Case{"A0b B0b A1 B1 A2e B2e", nullptr},
                        Case{"A0b A2 A1 A1 A5e", nullptr},  // lost and repeated pages
                        Case{"A0b A1e A2", "page 2 of stream 00000041 comes after that stream's last page"},
                        Case{"A0b A1e B0b A2", "page 2 of stream 00000041 comes after that stream's last page"},
                        Case{"A0b A1 B0b B1 A2e", "stream 00000042 begins in the middle of stream 00000041"},
                        Case{"A0b B0b A1 C0b B1", "stream 00000043 begins in the middle of stream 00000042"}}) {
    SCOPED_TRACE(c.pages);
    Bytes bytes = Pages(c.pages);
    std::string fault;
    EXPECT_EQ(OggPagesInOrder(bytes.data(), bytes.size(), fault), c.fault == nullptr);
    EXPECT_EQ(fault, c.fault ? c.fault : "");
    // Fed a byte at a time, a page split anywhere gives the same answer.
    OggPageOrder order;
    for (uint8_t byte : bytes) order.Feed(&byte, 1);
    EXPECT_EQ(order.Fault(), fault);
  }
}

// Every page of a whole stream rewritten: its serial number, and its last page's end flag cleared
// when asked.
Bytes Restamped(const Bytes& stream, uint8_t serialByte, bool keepLastFlag) {
  Bytes out = stream;
  for (size_t at = 0; at + 27 <= out.size();) {
    size_t header = 27 + out[at + 26];
    size_t body = 0;
    for (size_t segment = 0; segment < out[at + 26]; ++segment) body += out[at + 27 + segment];
    out[at + 14] = serialByte;
    if (!keepLastFlag) out[at + 5] &= static_cast<uint8_t>(~4);
    ogg_page view{out.data() + at, static_cast<long>(header), out.data() + at + header, static_cast<long>(body)};
    ogg_page_checksum_set(&view);
    at += header + body;
  }
  return out;
}

// A chain whose first stream lacks its last page before the second begins is what the Ogg library
// plays; so does the player, to the end of both.
TEST_F(OggVorbisLoaderTest, AChainWhoseFirstStreamHasNoLastPagePlaysToItsEnd) {
  Bytes chain = Restamped(*ogg, 0x11, false);
  Bytes second = Restamped(*ogg, 0x22, true);
  chain.insert(chain.end(), second.begin(), second.end());
  std::string fault;
  EXPECT_TRUE(OggPagesInOrder(chain.data(), chain.size(), fault)) << fault;
  OggVorbisLoader other;
  ASSERT_EQ(other.Open(SOUND_MEMORY_SOURCE_NAME, chain.data(), chain.size()), SOUND_OK);
  PcmBlock whole;
  ASSERT_EQ(other.Read(whole, SOUND_CURRENT_POSITION, 0, false), SOUND_OK);
  EXPECT_EQ(whole.Size(), 2 * pcm->size());
}

// The last page claims a second more than the stream holds: the sound still ends where its
// data ends, instead of playing silence for the claimed rest.
TEST_F(OggVorbisLoaderTest, AStreamShorterThanItsStatedLengthStillEnds) {
  Bytes lying = *ogg;
  size_t last = 0;
  for (size_t at = 0; at + 4 <= lying.size(); ++at) {
    if (std::memcmp(&lying[at], "OggS", 4) == 0) last = at;
  }
  ogg_page page;
  page.header = &lying[last];
  page.header_len = 27 + lying[last + 26];
  page.body = &lying[last + page.header_len];
  page.body_len = static_cast<long>(lying.size() - last - page.header_len);
  int64_t granule = ogg_page_granulepos(&page) + 44100;
  for (int i = 0; i < 8; ++i) lying[last + 6 + i] = static_cast<uint8_t>(granule >> (8 * i));
  ogg_page_checksum_set(&page);

  OggVorbisLoader other;
  ASSERT_EQ(other.Open(SOUND_MEMORY_SOURCE_NAME, lying.data(), lying.size()), SOUND_OK);
  ASSERT_GT(other.GetSize(), ONE_SECOND);
  int status = SOUND_OK;
  uint32_t blocks = 0;
  for (; status == SOUND_OK && blocks < 20; ++blocks) {
    PcmBlock block;
    status = other.Read(block, SOUND_CURRENT_POSITION, BLOCK, false);
  }
  EXPECT_TRUE(status == SOUND_END_IN_BLOCK || status == SOUND_ALREADY_ENDED) << status;
  EXPECT_LE(blocks, 6u);
}

TEST(OggMemorySource, ReadsWholeItemsAndSeeksWithinBounds) {
  Bytes data = CountingPcm(10);
  SoundSource source;
  source.memory = data.data();
  source.size = data.size();
  uint8_t out[16] = {};
  EXPECT_EQ(OggMemoryRead(out, 4, 2, &source), 2u);
  EXPECT_EQ(OggMemoryTell(&source), 8);
  EXPECT_EQ(OggMemoryRead(out, 4, 2, &source), 0u);  // 2 bytes left: no whole item
  EXPECT_EQ(OggMemoryTell(&source), 10);
  EXPECT_EQ(OggMemoryRead(out, 1, 1, &source), 0u);

  EXPECT_EQ(OggMemorySeek(&source, 3, 0), 0);
  EXPECT_EQ(OggMemorySeek(&source, 2, 1), 0);
  EXPECT_EQ(OggMemoryTell(&source), 5);
  EXPECT_EQ(OggMemoryRead(out, 1, 3, &source), 3u);
  EXPECT_EQ(out[0], data[5]);
  EXPECT_EQ(OggMemorySeek(&source, -4, 2), 0);
  EXPECT_EQ(OggMemoryTell(&source), 6);
  EXPECT_EQ(OggMemorySeek(&source, -11, 2), -1);
  EXPECT_EQ(OggMemorySeek(&source, 0, 3), -1);
  EXPECT_EQ(OggMemoryTell(&source), 6);
  EXPECT_EQ(OggMemoryClose(&source), 0);
}

}  // namespace
