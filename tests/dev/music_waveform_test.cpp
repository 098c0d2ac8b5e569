// The tracks panel's waveform is decoded on its own thread: a frame gets what is decoded so far,
// a file that is not music gives none, and stopping midway neither hangs nor leaves a half.
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "dev/music_waveform.h"
#include "tests/support/sound_test_data.h"

namespace {

void AwaitDecoding(const MusicWaveform& waveform) {
  for (int i = 0; i < 2000 && waveform.IsDecoding(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_FALSE(waveform.IsDecoding());
}

TEST(MusicWaveform, DecodesTheMusicBesideTheFrames) {
  const uint32_t RATE = 8000;
  std::vector<int16_t> samples(RATE * 2, 0);  // two seconds of mono silence with two clicks
  samples[100] = 4096;
  samples[RATE + 600] = -8192;  // a bucket clear of the first second's last
  const std::string path = WriteScratchFile("click.wav", MakeWave(Pcm16Format(1, RATE), SamplesAsBytes(samples)));
  MusicWaveform waveform;
  waveform.Start(path);
  AwaitDecoding(waveform);
  EXPECT_EQ(waveform.SampleRate(), RATE);
  const std::vector<WaveformPeak> peaks = waveform.PeaksOf({{0, RATE}, {RATE, 2 * RATE}, {2 * RATE, 3 * RATE}});
  ASSERT_EQ(peaks.size(), 3u);
  EXPECT_FLOAT_EQ(peaks[0].low, 0.0f);
  EXPECT_FLOAT_EQ(peaks[0].high, 0.5f);
  EXPECT_FLOAT_EQ(peaks[1].low, -1.0f) << "scaled to the loudest sample";
  EXPECT_FLOAT_EQ(peaks[2].low, 0.0f) << "after the music's end";

  waveform.Start(WriteScratchFile("music.ogg", TestOggVorbis(3.0, 2, 44100)));
  AwaitDecoding(waveform);
  EXPECT_EQ(waveform.SampleRate(), 44100u);
  const WaveformPeak last = waveform.PeaksOf({{44100 * 2, 44100 * 3 - 1}})[0];
  EXPECT_GT(last.high - last.low, 0.1f) << "decoded to its last second";

  waveform.Start(WriteScratchFile("not_music.wav", Bytes(64, 'x')));
  AwaitDecoding(waveform);
  EXPECT_EQ(waveform.SampleRate(), 0u);
  EXPECT_FLOAT_EQ(waveform.PeaksOf({{0, RATE * 2}})[0].low, 0.0f) << "the earlier music is forgotten";
}

TEST(MusicWaveform, StopsMidwayWithoutWaitingForTheEnd) {
  const uint32_t RATE = 44100;
  const std::string path =
      WriteScratchFile("long.wav", MakeWave(Pcm16Format(2, RATE), SamplesAsBytes(TestMusic(RATE * 30, 2, RATE))));
  MusicWaveform waveform;
  waveform.Start(path);
  waveform.Stop();
  EXPECT_FALSE(waveform.IsDecoding());
  EXPECT_EQ(waveform.SampleRate(), 0u);
  EXPECT_FLOAT_EQ(waveform.PeaksOf({{0, RATE * 30}})[0].high, 0.0f);
}

}  // namespace
