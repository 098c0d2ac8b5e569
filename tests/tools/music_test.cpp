#include <cmath>
#include <cstring>

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include "tools/synth/music_score.h"
#include "tools/synth/music_synth.h"
#include "tools/synth/ogg_encoder.h"

namespace {

Score MustParse(const std::string& text) {
  Score score;
  std::string error;
  EXPECT_TRUE(ParseScore(text, score, error)) << error;
  return score;
}

TEST(MusicScore, PitchesByNameAndNumber) {
  double frequency = 0.0;
  ASSERT_TRUE(PitchFrequency("A4", frequency));
  EXPECT_DOUBLE_EQ(frequency, 440.0);
  ASSERT_TRUE(PitchFrequency("69", frequency));
  EXPECT_DOUBLE_EQ(frequency, 440.0);
  ASSERT_TRUE(PitchFrequency("C4", frequency));
  EXPECT_NEAR(frequency, 261.626, 1e-3);
  ASSERT_TRUE(PitchFrequency("C#4", frequency));
  EXPECT_NEAR(frequency, 277.183, 1e-3);
  ASSERT_TRUE(PitchFrequency("Bb3", frequency));
  EXPECT_NEAR(frequency, 233.082, 1e-3);
  for (const char* bad : {"H4", "C", "C#", "128", "4.5", "-3", "Cx4", ""}) {
    EXPECT_FALSE(PitchFrequency(bad, frequency)) << bad;
  }
}

TEST(MusicScore, ReadsInstrumentsNotesAndCommentsButKeepsSharps) {
  Score score = MustParse(
      "# intro\n"
      "tempo 90\n"
      "length 8   # two bars\n"
      "instrument lead wave=square gain=0.25 pan=0.5 attack=0 release=0.3\n"
      "note 0 1.5 lead C#5\n"
      "\n"
      "note 2 1 lead 60\n");
  EXPECT_DOUBLE_EQ(score.tempo, 90.0);
  EXPECT_DOUBLE_EQ(score.lengthBeats, 8.0);
  ASSERT_EQ(score.instruments.size(), 1u);
  EXPECT_EQ(score.instruments[0].wave, Wave::Square);
  EXPECT_FLOAT_EQ(score.instruments[0].pan, 0.5f);
  ASSERT_EQ(score.notes.size(), 2u);
  EXPECT_NEAR(score.notes[0].frequency, 554.365, 1e-3);
  EXPECT_DOUBLE_EQ(score.notes[1].beat, 2.0);
}

TEST(MusicScore, ErrorsNameTheLine) {
  Score score;
  std::string error;
  EXPECT_FALSE(ParseScore("tempo 120\nnote 0 1 nobody C4\n", score, error));
  EXPECT_EQ(error, "line 2: unknown instrument \"nobody\": no instrument is declared before this line");
  EXPECT_FALSE(ParseScore("instrument pad\ninstrument bell\nnote 0 1 bel C4\n", score, error));
  EXPECT_EQ(error, "line 3: unknown instrument \"bel\": expected one declared before this line: \"pad\", \"bell\"");
  EXPECT_FALSE(ParseScore("instrument a wave=organ\n", score, error));
  EXPECT_NE(error.find("line 1"), std::string::npos);
  EXPECT_FALSE(ParseScore("tempo -5\n", score, error));
  EXPECT_FALSE(ParseScore("instrument a\ninstrument a\n", score, error));
  EXPECT_FALSE(ParseScore("instrument a\nnote 0 0 a C4\n", score, error));
  EXPECT_FALSE(ParseScore("bogus\n", score, error));
}

TEST(MusicSynth, ASineNoteHasItsPitchLengthAndPan) {
  Score score = MustParse(
      "tempo 60\nlength 2\n"
      "instrument s wave=sine gain=0.5 pan=-1 attack=0 release=0\n"
      "note 0 1 s A4\n");
  std::vector<int16_t> pcm = RenderScore(score);
  ASSERT_EQ(pcm.size(), 2u * SYNTH_SAMPLE_RATE * SYNTH_CHANNELS);
  int crossings = 0;
  for (int i = 1; i < SYNTH_SAMPLE_RATE; ++i) {
    if ((pcm[(i - 1) * 2] < 0) != (pcm[i * 2] < 0)) ++crossings;
  }
  EXPECT_NEAR(crossings, 880, 2) << "two zero crossings per period of 440 Hz";
  int16_t loudestRight = 0;
  for (int i = 0; i < SYNTH_SAMPLE_RATE; ++i) loudestRight = std::max<int16_t>(loudestRight, std::abs(pcm[i * 2 + 1]));
  EXPECT_EQ(loudestRight, 0) << "panned hard left";
  for (size_t i = SYNTH_SAMPLE_RATE * 2 + 2; i < pcm.size(); ++i) ASSERT_EQ(pcm[i], 0) << "silent after the note";
  EXPECT_EQ(RenderScore(score), pcm) << "rendering is deterministic";
}

TEST(MusicSynth, WithoutALengthTheMusicEndsWhenTheLastReleaseDoes) {
  Score score = MustParse("tempo 120\ninstrument s release=0.5\nnote 1 1 s C4\n");
  EXPECT_EQ(RenderScore(score).size(), static_cast<size_t>(1.5 * SYNTH_SAMPLE_RATE) * SYNTH_CHANNELS);
}

struct MemoryReader {
  const std::vector<uint8_t>* bytes;
  size_t at = 0;
};

size_t ReadMemory(void* destination, size_t size, size_t count, void* source) {
  auto* reader = static_cast<MemoryReader*>(source);
  size_t wanted = std::min(size * count, reader->bytes->size() - reader->at);
  std::memcpy(destination, reader->bytes->data() + reader->at, wanted);
  reader->at += wanted;
  return size ? wanted / size : 0;
}

TEST(OggEncoder, ProducesAStreamThatDecodesToTheSameLengthAndFormat) {
  Score score = MustParse("tempo 120\nlength 2\ninstrument s wave=triangle\nnote 0 2 s E4\n");
  std::vector<int16_t> pcm = RenderScore(score);
  std::vector<uint8_t> ogg;
  std::string error;
  ASSERT_TRUE(EncodeOggVorbis(pcm, SYNTH_SAMPLE_RATE, SYNTH_CHANNELS, 0.4f, ogg, error)) << error;

  MemoryReader reader{&ogg};
  OggVorbis_File file;
  ov_callbacks callbacks{ReadMemory, nullptr, nullptr, nullptr};
  ASSERT_EQ(ov_open_callbacks(&reader, &file, nullptr, 0, callbacks), 0);
  vorbis_info* info = ov_info(&file, -1);
  EXPECT_EQ(info->channels, 2);
  EXPECT_EQ(info->rate, SYNTH_SAMPLE_RATE);
  size_t decodedBytes = 0;
  char buffer[4096];
  int section = 0;
  for (long got; (got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section)) > 0;) decodedBytes += got;
  EXPECT_EQ(decodedBytes, pcm.size() * sizeof(int16_t));
  ov_clear(&file);

  std::vector<uint8_t> again;
  ASSERT_TRUE(EncodeOggVorbis(pcm, SYNTH_SAMPLE_RATE, SYNTH_CHANNELS, 0.4f, again, error));
  EXPECT_EQ(again, ogg) << "the build's music is reproducible";
}

}  // namespace
