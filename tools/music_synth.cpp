#include "tools/music_synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double TWO_PI = 6.283185307179586;

double SecondsPerBeat(const Score& score) { return 60.0 / score.tempo; }

// One period of the wave at phase in [0, 1).
double Oscillator(Wave wave, double phase, uint32_t& noiseState) {
  switch (wave) {
    case Wave::Sine: return std::sin(TWO_PI * phase);
    case Wave::Square: return phase < 0.5 ? 1.0 : -1.0;
    case Wave::Saw: return 2.0 * phase - 1.0;
    case Wave::Triangle: return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    case Wave::Noise:
      noiseState = noiseState * 1664525u + 1013904223u;
      return static_cast<double>(noiseState >> 8) / 8388608.0 - 1.0;
  }
  return 0.0;
}

// Linear rise over the attack, full level until the note's end, linear fall over the release.
double Envelope(const Instrument& instrument, double t, double noteSeconds) {
  if (t < 0.0) return 0.0;
  double level = instrument.attack > 0.0 ? std::min(1.0, t / instrument.attack) : 1.0;
  if (t <= noteSeconds) return level;
  if (instrument.release <= 0.0) return 0.0;
  return std::max(0.0, level * (1.0 - (t - noteSeconds) / instrument.release));
}

}  // namespace

size_t ScoreFrameCount(const Score& score) {
  double seconds = score.lengthBeats * SecondsPerBeat(score);
  if (score.lengthBeats <= 0.0) {
    for (const Note& note : score.notes) {
      double end = (note.beat + note.lengthBeats) * SecondsPerBeat(score) + score.instruments[note.instrument].release;
      seconds = std::max(seconds, end);
    }
  }
  return static_cast<size_t>(std::ceil(seconds * SYNTH_SAMPLE_RATE));
}

namespace {

void AddNote(const Score& score, const Note& note, std::vector<double>& mix) {
  const Instrument& instrument = score.instruments[note.instrument];
  double noteSeconds = note.lengthBeats * SecondsPerBeat(score);
  size_t first = static_cast<size_t>(note.beat * SecondsPerBeat(score) * SYNTH_SAMPLE_RATE);
  size_t frames = static_cast<size_t>(std::ceil((noteSeconds + instrument.release) * SYNTH_SAMPLE_RATE));
  size_t totalFrames = mix.size() / SYNTH_CHANNELS;
  double left = instrument.gain * std::sqrt(0.5 * (1.0 - instrument.pan));
  double right = instrument.gain * std::sqrt(0.5 * (1.0 + instrument.pan));
  uint32_t noiseState = 0x1234567u + static_cast<uint32_t>(first);
  for (size_t i = 0; i < frames && first + i < totalFrames; ++i) {
    double t = static_cast<double>(i) / SYNTH_SAMPLE_RATE;
    double phase = std::fmod(t * note.frequency, 1.0);
    double sample = Oscillator(instrument.wave, phase, noiseState) * Envelope(instrument, t, noteSeconds);
    mix[(first + i) * 2] += sample * left;
    mix[(first + i) * 2 + 1] += sample * right;
  }
}

}  // namespace

std::vector<int16_t> RenderScore(const Score& score) {
  std::vector<double> mix(ScoreFrameCount(score) * SYNTH_CHANNELS, 0.0);
  for (const Note& note : score.notes) AddNote(score, note, mix);
  std::vector<int16_t> pcm(mix.size());
  for (size_t i = 0; i < mix.size(); ++i) pcm[i] = static_cast<int16_t>(std::lround(std::tanh(mix[i]) * 32767.0));
  return pcm;
}
