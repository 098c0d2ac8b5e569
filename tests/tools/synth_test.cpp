// The synthesiser's instruments, effects and automation, judged by what they sound like: where
// their energy lies in time and frequency.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/synth/music_score.h"
#include "tools/synth/music_synth.h"

namespace {

Score MustParse(const std::string& text) {
  Score score;
  std::string error;
  EXPECT_TRUE(ParseScore(text, score, error)) << error;
  return score;
}

size_t Frame(double seconds) { return static_cast<size_t>(seconds * SYNTH_SAMPLE_RATE); }

// Root mean square of the left channel between two times.
double Rms(const std::vector<float>& mix, double from, double to) {
  double sum = 0.0;
  size_t a = Frame(from), b = std::min(Frame(to), mix.size() / 2);
  for (size_t i = a; i < b; ++i) sum += static_cast<double>(mix[i * 2]) * mix[i * 2];
  return b > a ? std::sqrt(sum / static_cast<double>(b - a)) : 0.0;
}

// How much of the signal's energy is in its sample-to-sample changes: high for bright sounds.
double Brightness(const std::vector<float>& mix, double from, double to) {
  double change = 0.0, level = 0.0;
  for (size_t i = Frame(from) + 1; i < std::min(Frame(to), mix.size() / 2); ++i) {
    double d = mix[i * 2] - mix[(i - 1) * 2];
    change += d * d;
    level += static_cast<double>(mix[i * 2]) * mix[i * 2];
  }
  return level > 0.0 ? change / level : 0.0;
}

TEST(ScoreFormat, ReadsTheSynthesisersSettingsAndRefusesWhatItCannotPlay) {
  Score score = MustParse(
      "tempo 125\n"
      "delay time=0.5 feedback=0.6 tone=2000\n"
      "reverb size=0.9 damp=0.2 width=0.5\n"
      "master loudness=-14 peak=-1.5\n"
      "instrument k voice=kick decay=0.2\n"
      "instrument p wave=saw voices=5 detune=12 width=0.8 attack=0.2 decay=0.5 sustain=0.4 filter=lowpass cutoff=900 "
      "resonance=0.5 envmod=1200 fdecay=0.1 keytrack=0.5 vibrato=10 vrate=6 delay=0.3 reverb=0.4 duck=0.6\n"
      "note 0 1 p A3 0.5\n"
      "automate p cutoff 0:200 8:4000\n"
      "automate p cutoff 16:300\n"
      "automate master gain 0:1 4:0.5\n");
  EXPECT_EQ(score.instruments[0].voice, Voice::Kick);
  const Instrument& pad = score.instruments[1];
  EXPECT_EQ(pad.voices, 5);
  EXPECT_EQ(pad.filter, FilterMode::Lowpass);
  EXPECT_FLOAT_EQ(pad.sustain, 0.4f);
  EXPECT_FLOAT_EQ(pad.duck, 0.6f);
  EXPECT_FLOAT_EQ(score.notes[0].velocity, 0.5f);
  EXPECT_DOUBLE_EQ(score.delay.timeBeats, 0.5);
  EXPECT_FLOAT_EQ(score.reverb.width, 0.5f);
  EXPECT_TRUE(score.master.enabled);
  EXPECT_DOUBLE_EQ(score.master.peak, -1.5);
  ASSERT_EQ(pad.cutoffAutomation.points.size(), 3u) << "a second line adds its points";
  EXPECT_DOUBLE_EQ(pad.cutoffAutomation.ValueAt(-1.0), 200.0) << "held before the first point";
  EXPECT_DOUBLE_EQ(pad.cutoffAutomation.ValueAt(4.0), 2100.0);
  EXPECT_DOUBLE_EQ(pad.cutoffAutomation.ValueAt(12.0), 2150.0);
  EXPECT_DOUBLE_EQ(pad.cutoffAutomation.ValueAt(99.0), 300.0) << "held after the last point";
  EXPECT_DOUBLE_EQ(score.masterGain.ValueAt(2.0), 0.75);

  Score bad;
  std::string error;
  for (const char* text : {"instrument a voice=cowbell\n", "instrument a resonance=1.5\n", "instrument a voices=9\n",
                           "instrument a filter=comb\n", "instrument a\nautomate a cutoff 4:100 2:200\n",
                           "instrument a\nautomate a wobble 0:1\n", "automate nobody gain 0:1\n",
                           "instrument a\nautomate a gain\n", "instrument a\nautomate a gain 1=2\n",
                           "delay time=0\n", "reverb size=2\n", "master loudness=-14 ceiling=-1\n",
                           "instrument a\nnote 0 1 a C4 loud\n", "instrument master\n"}) {
    EXPECT_FALSE(ParseScore(text, bad, error)) << text;
    EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
  }
}

TEST(SynthVoices, DrumsSitWhereTheyBelongAndFade) {
  Score score = MustParse(
      "tempo 60\nlength 4\n"
      "instrument kick voice=kick gain=1\ninstrument hat voice=hat gain=1\ninstrument snare voice=snare gain=1\n"
      "note 0 1 kick 43\nnote 1 1 hat 67\nnote 2 1 snare 55\n");
  std::vector<float> mix = MixScore(score);
  double kick = Brightness(mix, 0.0, 0.3), hat = Brightness(mix, 1.0, 1.05), snare = Brightness(mix, 2.0, 2.1);
  EXPECT_LT(kick, 0.01) << "a kick is deep";
  EXPECT_GT(hat, 1.0) << "a hat is all high frequencies";
  EXPECT_GT(snare, kick * 10.0);
  EXPECT_LT(hat, 4.0);
  EXPECT_GT(Rms(mix, 0.0, 0.1), 10.0 * Rms(mix, 0.8, 0.95)) << "the kick fades";
  EXPECT_EQ(Rms(mix, 3.5, 4.0), 0.0) << "drums end: nothing rings on";
}

TEST(SynthVoices, TheFilterDarkensAndItsAutomationOpensIt) {
  Score closed = MustParse("tempo 60\nlength 2\ninstrument s wave=saw filter=lowpass cutoff=300\nnote 0 1 s A3\n");
  Score open = MustParse("tempo 60\nlength 2\ninstrument s wave=saw filter=lowpass cutoff=8000\nnote 0 1 s A3\n");
  EXPECT_LT(Brightness(MixScore(closed), 0.1, 0.9), Brightness(MixScore(open), 0.1, 0.9) * 0.2);

  Score swept = MustParse(
      "tempo 60\nlength 5\ninstrument s wave=saw filter=lowpass cutoff=100\nnote 0 4 s A2\nautomate s cutoff 0:200 4:9000\n");
  std::vector<float> mix = MixScore(swept);
  EXPECT_LT(Brightness(mix, 0.2, 0.7), Brightness(mix, 3.3, 3.8) * 0.2) << "the sweep opens the filter over the note";
}

TEST(SynthVoices, EnvelopeUnisonAndVelocityShapeTheNote) {
  Score score = MustParse(
      "tempo 60\nlength 4\n"
      "instrument p wave=triangle attack=0.5 decay=0.3 sustain=0.25 release=0.5\n"
      "instrument wide wave=saw voices=4 detune=15 width=1\n"
      "note 0 2 p A3\nnote 3 0.5 wide A3\nnote 3 0.5 p A4 0.5\n");
  std::vector<float> mix = MixScore(score);
  EXPECT_LT(Rms(mix, 0.0, 0.1), Rms(mix, 0.4, 0.5) * 0.5) << "the attack rises";
  EXPECT_NEAR(Rms(mix, 1.5, 1.9) / Rms(mix, 0.45, 0.55), 0.25, 0.06) << "then settles at the sustain level";
  EXPECT_GT(Rms(mix, 2.05, 2.15), 0.0) << "and releases after the note";
  EXPECT_EQ(Rms(mix, 2.55, 2.95), 0.0);
  double difference = 0.0;
  for (size_t i = Frame(3.0); i < Frame(3.4); ++i) difference += std::abs(mix[i * 2] - mix[i * 2 + 1]);
  EXPECT_GT(difference, 100.0) << "spread unison voices make left and right differ";
}

TEST(SynthEffects, ReverbAndDelayCarryTheSoundOnAfterTheNote) {
  const std::string note = "tempo 60\nlength 3\ndelay time=1 feedback=0.3\n";
  std::vector<float> dry = MixScore(MustParse(note + "instrument s wave=sine release=0\nnote 0 0.25 s A4\n"));
  std::vector<float> reverb = MixScore(MustParse(note + "instrument s wave=sine release=0 reverb=1\nnote 0 0.25 s A4\n"));
  std::vector<float> delay = MixScore(MustParse(note + "instrument s wave=sine release=0 delay=1\nnote 0 0.25 s A4\n"));
  EXPECT_EQ(Rms(dry, 0.5, 2.5), 0.0);
  EXPECT_GT(Rms(reverb, 0.5, 0.9), 1e-3) << "the reverb's tail";
  EXPECT_LT(Rms(reverb, 2.5, 2.9), Rms(reverb, 0.5, 0.9)) << "which dies away";
  // The echo comes one beat (one second) later, then again on the other side.
  EXPECT_GT(Rms(delay, 1.0, 1.25), 0.05);
  EXPECT_LT(Rms(delay, 0.5, 0.95), 1e-6);
  double rightEcho = 0.0;
  for (size_t i = Frame(2.0); i < Frame(2.25); ++i) rightEcho += std::abs(delay[i * 2 + 1]);
  EXPECT_GT(rightEcho, 10.0) << "the second echo is on the right";
}

TEST(SynthEffects, KicksDuckTheInstrumentsThatAskForIt) {
  Score score = MustParse(
      "tempo 60\nlength 4\ninstrument kick voice=kick gain=0\ninstrument pad wave=sine duck=0.8\n"
      "instrument plain wave=sine pan=1\nnote 0 4 pad A3\nnote 0 4 plain A3\nnote 1 1 kick 40\n");
  std::vector<float> mix = MixScore(score);
  auto level = [&](int channel, double from, double to) {
    double sum = 0.0;
    for (size_t i = Frame(from); i < Frame(to); ++i) sum += static_cast<double>(mix[i * 2 + channel]) * mix[i * 2 + channel];
    return std::sqrt(sum / static_cast<double>(Frame(to) - Frame(from)));
  };
  // The pad is panned centre, the plain tone hard right: the kick (itself silent) ducks the pad
  // on both sides, but not the plain tone, which holds the right side up.
  double padBefore = level(0, 0.5, 0.9), padDucked = level(0, 1.0, 1.05), padBack = level(0, 1.8, 2.0);
  EXPECT_LT(padDucked, padBefore * 0.4);
  EXPECT_NEAR(padBack, padBefore, padBefore * 0.05);
  EXPECT_GT(level(1, 1.0, 1.05) / level(1, 0.5, 0.9), padDucked / padBefore + 0.2);
}

TEST(SynthEffects, MasterGainAutomationFadesTheWholeMix) {
  std::vector<float> mix =
      MixScore(MustParse("tempo 60\nlength 4\ninstrument s wave=sine\nnote 0 4 s A3\nautomate master gain 2:1 3:0\n"));
  EXPECT_GT(Rms(mix, 1.0, 1.9), 0.1);
  EXPECT_NEAR(Rms(mix, 2.45, 2.55), Rms(mix, 1.0, 1.9) * 0.5, 0.02);
  EXPECT_EQ(Rms(mix, 3.05, 3.9), 0.0);
}

TEST(SynthRendering, RefusesMusicLongerThanAnHourAndSkipsNotesPastTheEnd) {
  Score endless = MustParse("tempo 0.0001\nlength 1\ninstrument a\nnote 0 1 a C4\n");
  std::string error;
  EXPECT_FALSE(ScoreLengthAcceptable(endless, error));
  EXPECT_NE(error.find("more than 3600"), std::string::npos) << error;
  Score unbounded = MustParse("tempo 120\ninstrument a\nnote 0 1e300 a C4\n");
  EXPECT_FALSE(ScoreLengthAcceptable(unbounded, error)) << "a note without end makes music without end";

  Score far = MustParse("tempo 60\nlength 2\ninstrument a\ninstrument k voice=kick\nnote 1e300 1 a C4\nnote 1e300 1 k C2\n"
                        "note 1 1e300 a A4\n");
  ASSERT_TRUE(ScoreLengthAcceptable(far, error)) << error;
  std::vector<float> mix = MixScore(far);
  ASSERT_EQ(mix.size(), 2u * 2u * SYNTH_SAMPLE_RATE);
  EXPECT_EQ(Rms(mix, 0.0, 0.95), 0.0) << "notes past the end are not heard";
  EXPECT_GT(Rms(mix, 1.1, 1.9), 0.1) << "a note longer than the music plays to its end";
}

TEST(SynthRendering, TheSameScoreAlwaysGivesTheSameSamples) {
  const std::string text =
      "tempo 125\nlength 8\nreverb size=0.8\ndelay time=0.75\ninstrument n wave=noise filter=bandpass cutoff=800 "
      "reverb=0.5\ninstrument p wave=saw voices=3 detune=10 delay=0.4\nnote 0 2 n 60\nnote 1 1 p C4\n";
  EXPECT_EQ(RenderScore(MustParse(text)), RenderScore(MustParse(text)));
}

}  // namespace
