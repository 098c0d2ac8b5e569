// Mastering: the limiter's ceiling, loudness normalisation and the encoded file's true peak, with
// loudness checked by libebur128 directly.
#include <cmath>
#include <string>
#include <vector>

#include <ebur128.h>
#include <gtest/gtest.h>

#include "tools/synth/music_master.h"
#include "tools/synth/music_score.h"
#include "tools/synth/music_synth.h"

namespace {

constexpr double PI = 3.141592653589793;

// Integrated loudness (LUFS) and true peak (dBTP) of 16-bit stereo, straight from libebur128.
std::pair<double, double> Ebur128(const std::vector<int16_t>& pcm) {
  ebur128_state* state = ebur128_init(2, SYNTH_SAMPLE_RATE, EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK);
  ebur128_add_frames_short(state, pcm.data(), pcm.size() / 2);
  double loudness = 0.0, left = 0.0, right = 0.0;
  ebur128_loudness_global(state, &loudness);
  ebur128_true_peak(state, 0, &left);
  ebur128_true_peak(state, 1, &right);
  ebur128_destroy(&state);
  return {loudness, 20.0 * std::log10(std::max(left, right))};
}

// A test mix: a loud, peaky pulse train over a quiet tone, then the tone alone.
std::vector<float> PeakyMix(double seconds) {
  std::vector<float> mix(static_cast<size_t>(seconds * SYNTH_SAMPLE_RATE) * 2);
  for (size_t i = 0; i < mix.size() / 2; ++i) {
    double t = static_cast<double>(i) / SYNTH_SAMPLE_RATE;
    double tone = 0.05 * std::sin(2.0 * PI * 220.0 * t);
    double beat = t < seconds / 2 ? 1.6 * std::exp(-std::fmod(t, 0.5) / 0.03) * std::sin(2.0 * PI * 60.0 * t) : 0.0;
    mix[i * 2] = static_cast<float>(tone + beat);
    mix[i * 2 + 1] = static_cast<float>(tone + 0.8 * beat);
  }
  return mix;
}

TEST(Mastering, MeasuresASineAsTheStandardDoes) {
  // A 997 Hz sine at -20 dBFS in both channels reads -20 LUFS; its peak is -20 dBTP.
  std::vector<float> sine(SYNTH_SAMPLE_RATE * 4 * 2);
  for (size_t i = 0; i < sine.size() / 2; ++i) {
    sine[i * 2] = sine[i * 2 + 1] = static_cast<float>(0.1 * std::sin(2.0 * PI * 997.0 * i / SYNTH_SAMPLE_RATE));
  }
  LoudnessFigures figures;
  ASSERT_TRUE(MeasureLoudness(sine, SYNTH_SAMPLE_RATE, figures));
  EXPECT_NEAR(figures.integratedLufs, -20.0, 0.1);
  EXPECT_NEAR(figures.truePeakDbtp, -20.0, 0.1);
}

TEST(Mastering, TheLimiterHoldsTheCeilingBetweenSamplesAndLeavesQuietPassagesAlone) {
  std::vector<float> mix = PeakyMix(4.0);
  std::vector<float> limited = mix;
  const double ceiling = 0.5;
  LimitPeaks(limited, ceiling, SYNTH_SAMPLE_RATE);
  size_t frames = limited.size() / 2;
  for (size_t i = 1; i + 2 < frames; ++i) {
    for (size_t c = 0; c < 2; ++c) {
      auto at = [&](size_t n) { return static_cast<double>(limited[n * 2 + c]); };
      ASSERT_LE(std::abs(at(i)), ceiling + 1e-6) << "frame " << i;
      double middle = (-at(i - 1) + 9.0 * at(i) + 9.0 * at(i + 1) - at(i + 2)) / 16.0;
      ASSERT_LE(std::abs(middle), ceiling * 1.02) << "between frames " << i << " and " << i + 1;
    }
  }
  // A second after the last peak the gain is back to one: the quiet tone passes unchanged.
  for (size_t i = static_cast<size_t>(3.0 * SYNTH_SAMPLE_RATE) * 2; i < limited.size(); ++i) {
    ASSERT_NEAR(limited[i], mix[i], 1e-6);
  }
}

TEST(Mastering, BringsAMixToItsLoudnessUnderItsCeiling) {
  std::vector<int16_t> pcm = MasterMix(PeakyMix(8.0), -16.0, -3.0);
  auto [loudness, peak] = Ebur128(pcm);
  EXPECT_NEAR(loudness, -16.0, 0.3);
  EXPECT_LE(peak, -2.5);
  for (int16_t sample : pcm) ASSERT_LT(std::abs(static_cast<int>(sample)), 32767) << "nothing clips";
}

TEST(Mastering, TheEncodedFileKeepsTheScoresFigures) {
  Score score;
  std::string error;
  ASSERT_TRUE(ParseScore(
      "tempo 120\nlength 24\nmaster loudness=-14 peak=-1\n"
      "instrument kick voice=kick gain=1\ninstrument lead wave=saw voices=3 detune=10 filter=lowpass cutoff=3000\n"
      "note 0 1 kick 36\nnote 1 1 kick 36\nnote 2 1 kick 36\nnote 3 1 kick 36\nnote 4 1 kick 36\nnote 5 1 kick 36\n"
      "note 6 1 kick 36\nnote 7 1 kick 36\nnote 8 1 kick 36\nnote 9 1 kick 36\nnote 10 1 kick 36\nnote 11 1 kick 36\n"
      "note 0 12 lead A3\nnote 12 12 lead E4\n",
      score, error))
      << error;
  std::vector<uint8_t> ogg;
  LoudnessFigures reported;
  ASSERT_TRUE(RenderScoreToOgg(score, 0.4f, ogg, reported, error)) << error;
  std::vector<int16_t> decoded;
  int rate = 0, channels = 0;
  ASSERT_TRUE(DecodeOggVorbis(ogg, decoded, rate, channels));
  ASSERT_EQ(channels, 2);
  auto [loudness, peak] = Ebur128(decoded);
  EXPECT_NEAR(loudness, -14.0, 0.5);
  EXPECT_LE(peak, -1.0);
  EXPECT_NEAR(reported.integratedLufs, loudness, 0.01) << "the figures reported are the file's";
  EXPECT_NEAR(reported.truePeakDbtp, peak, 0.01);
}

}  // namespace
