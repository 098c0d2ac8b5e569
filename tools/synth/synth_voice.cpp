#include "tools/synth/synth_voice.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tools/synth/music_synth.h"

namespace {

constexpr double PI = 3.141592653589793;
constexpr double TWO_PI = 2.0 * PI;
constexpr double RATE = SYNTH_SAMPLE_RATE;
// Filter coefficients follow the envelope and automation in steps this many frames apart.
constexpr int FILTER_STEP = 16;
// A drum is heard for this many time constants of its fade (about -60 dB), then cut.
constexpr double DRUM_FADE_CONSTANTS = 7.0;
constexpr double C4_HZ = 261.6255653005986;

// Deterministic white noise in [-1, 1).
class Noise {
 public:
  explicit Noise(uint32_t seed) : mState(seed) {}
  double Next() {
    mState = mState * 1664525u + 1013904223u;
    return static_cast<double>(mState >> 8) / 8388608.0 - 1.0;
  }

 private:
  uint32_t mState;
};

// The correction that removes most aliasing at a saw or square step (polynomial band-limited step).
double PolyBlep(double phase, double step) {
  if (phase < step) {
    double t = phase / step;
    return t + t - t * t - 1.0;
  }
  if (phase > 1.0 - step) {
    double t = (phase - 1.0) / step;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double Oscillator(Wave wave, double phase, double step, Noise& noise) {
  switch (wave) {
    case Wave::Sine: return std::sin(TWO_PI * phase);
    case Wave::Square: {
      double shifted = phase + 0.5 >= 1.0 ? phase - 0.5 : phase + 0.5;
      return (phase < 0.5 ? 1.0 : -1.0) + PolyBlep(phase, step) - PolyBlep(shifted, step);
    }
    case Wave::Saw: return 2.0 * phase - 1.0 - PolyBlep(phase, step);
    case Wave::Triangle: return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    case Wave::Noise: return noise.Next();
  }
  return 0.0;
}

double DefaultDrumDecay(Voice voice) {
  switch (voice) {
    case Voice::Kick: return 0.28;
    case Voice::Snare: return 0.16;
    case Voice::Hat: return 0.05;
    case Voice::Clap: return 0.18;
    case Voice::Tone: break;
  }
  return 0.0;
}

double DrumDecay(const Instrument& instrument) {
  return instrument.decay > 0.0f ? instrument.decay : DefaultDrumDecay(instrument.voice);
}

// Attack, decay towards the sustain level, and a linear release from wherever the level was at
// the note's end.
double Envelope(const Instrument& instrument, double t, double noteSeconds) {
  auto held = [&](double at) {
    if (at < instrument.attack) return at / instrument.attack;
    if (instrument.decay <= 0.0f) return 1.0;
    double fall = std::exp(-3.0 * (at - instrument.attack) / instrument.decay);
    return instrument.sustain + (1.0 - instrument.sustain) * fall;
  };
  if (t <= noteSeconds) return held(t);
  if (instrument.release <= 0.0f) return 0.0;
  return std::max(0.0, held(noteSeconds) * (1.0 - (t - noteSeconds) / instrument.release));
}

// A synthesised drum at time t into its sound; frequency tunes it.
class Drum {
 public:
  Drum(const Instrument& instrument, double frequency, uint32_t seed)
      : mVoice(instrument.voice), mFrequency(frequency), mDecay(DrumDecay(instrument)), mNoise(seed) {
    if (mVoice == Voice::Hat) mTone.Tune(7000.0, 0.2, RATE);
    if (mVoice == Voice::Snare) mTone.Tune(1800.0, 0.1, RATE);
    if (mVoice == Voice::Clap) mTone.Tune(1200.0, 0.55, RATE);
  }

  double Next(double t) {
    switch (mVoice) {
      case Voice::Kick: return Kick(t);
      case Voice::Snare: return Snare(t);
      case Voice::Hat: return Hat(t);
      case Voice::Clap: return Clap(t);
      case Voice::Tone: break;
    }
    return 0.0;
  }

 private:
  // A sine that falls from four times its pitch within a few hundredths of a second, with a click.
  double Kick(double t) {
    double frequency = mFrequency * (1.0 + 3.0 * std::exp(-t / 0.03));
    mPhase += frequency / RATE;
    double body = std::sin(TWO_PI * mPhase) * std::exp(-t / mDecay) * std::min(1.0, t / 0.001);
    double click = mNoise.Next() * std::exp(-t / 0.002) * 0.3;
    return std::tanh(1.6 * (body + click)) / std::tanh(1.6);
  }

  double Snare(double t) {
    mPhase += mFrequency * (1.0 + 0.6 * std::exp(-t / 0.02)) / RATE;
    double tone = std::sin(TWO_PI * mPhase) * std::exp(-t / (mDecay * 0.5));
    double noise = mTone.Process(mNoise.Next(), FilterMode::Highpass) * std::exp(-t / mDecay);
    return 0.5 * tone + 0.8 * noise;
  }

  // Six detuned squares (a metallic cluster) and noise above 7 kHz.
  double Hat(double t) {
    static const double RATIOS[6] = {1.0, 1.4471, 1.6170, 1.9265, 2.5028, 2.6637};
    double metal = 0.0;
    for (int i = 0; i < 6; ++i) {
      mPhases[i] += mFrequency * RATIOS[i] / RATE;
      mPhases[i] -= std::floor(mPhases[i]);
      metal += mPhases[i] < 0.5 ? 1.0 : -1.0;
    }
    double mixed = 0.5 * metal / 6.0 + 0.5 * mNoise.Next();
    return 1.6 * mTone.Process(mixed, FilterMode::Highpass) * std::exp(-t / mDecay);
  }

  // Three quick bursts of band-passed noise, then a tail.
  double Clap(double t) {
    double level = 0.0;
    for (double burst : {0.0, 0.011, 0.022}) {
      if (t >= burst) level = std::max(level, std::exp(-(t - burst) / 0.004));
    }
    if (t >= 0.03) level = std::max(level, 0.7 * std::exp(-(t - 0.03) / mDecay));
    return 2.0 * mTone.Process(mNoise.Next(), FilterMode::Bandpass) * level;
  }

  Voice mVoice;
  double mFrequency;
  double mDecay;
  Noise mNoise;
  StateVariableFilter mTone;
  double mPhase = 0.0;
  double mPhases[6] = {0.0, 0.13, 0.27, 0.41, 0.59, 0.77};
};

// The unison oscillators of a tone voice, each with its detune and its place in the stereo field.
struct UnisonVoice {
  double phase;
  double ratio;
  double left, right;
};

std::vector<UnisonVoice> MakeUnison(const Instrument& instrument, size_t noteIndex) {
  std::vector<UnisonVoice> voices;
  int count = std::max(1, instrument.voices);
  double norm = 1.0 / std::sqrt(static_cast<double>(count));
  for (int u = 0; u < count; ++u) {
    double spread = count == 1 ? 0.0 : 2.0 * u / (count - 1) - 1.0;
    double pan = std::clamp(spread * instrument.width, -1.0, 1.0);
    // Deterministic start phases keep unison voices from starting in step.
    uint32_t hash = static_cast<uint32_t>(noteIndex * 2654435761u + static_cast<uint32_t>(u) * 40503u);
    double phase = count == 1 ? 0.0 : (hash % 1000u) / 1000.0;
    voices.push_back({phase, std::pow(2.0, spread * instrument.detune / 1200.0), norm * std::sqrt(0.5 * (1.0 - pan)),
                      norm * std::sqrt(0.5 * (1.0 + pan))});
  }
  return voices;
}

double CutoffAt(const Instrument& instrument, double beat, double t, double frequency) {
  double base = instrument.cutoffAutomation.IsSet() ? instrument.cutoffAutomation.ValueAt(beat) : instrument.cutoff;
  base *= std::pow(frequency / C4_HZ, instrument.keytrack);
  return std::clamp(base + instrument.envmod * std::exp(-t / instrument.fdecay), 10.0, 0.45 * RATE);
}

}  // namespace

void StateVariableFilter::Tune(double cutoffHz, double resonance, double sampleRate) {
  double g = std::tan(PI * std::min(cutoffHz, 0.45 * sampleRate) / sampleRate);
  mDamping = 2.0 - 2.0 * resonance;
  mA1 = 1.0 / (1.0 + g * (g + mDamping));
  mA2 = g * mA1;
  mA3 = g * mA2;
}

double StateVariableFilter::Process(double input, FilterMode mode) {
  double v3 = input - mState2;
  double v1 = mA1 * mState1 + mA2 * v3;
  double v2 = mState2 + mA2 * mState1 + mA3 * v3;
  mState1 = 2.0 * v1 - mState1;
  mState2 = 2.0 * v2 - mState2;
  switch (mode) {
    case FilterMode::Lowpass: return v2;
    case FilterMode::Bandpass: return v1;
    case FilterMode::Highpass: return input - mDamping * v1 - v2;
    case FilterMode::None: break;
  }
  return input;
}

double NoteSoundingSeconds(const Instrument& instrument, double noteSeconds) {
  if (instrument.voice != Voice::Tone) return DRUM_FADE_CONSTANTS * DrumDecay(instrument);
  return noteSeconds + instrument.release;
}

void RenderNote(const Score& score, const Note& note, size_t noteIndex, std::vector<float>& track) {
  const Instrument& instrument = score.instruments[note.instrument];
  double secondsPerBeat = 60.0 / score.tempo;
  double noteSeconds = note.lengthBeats * secondsPerBeat;
  size_t trackFrames = track.size() / SYNTH_CHANNELS;
  // Compared as doubles first: a note far past the end must not overflow a frame count.
  double start = note.beat * secondsPerBeat * RATE;
  if (!(start < static_cast<double>(trackFrames))) return;
  size_t first = static_cast<size_t>(start);
  double sounding = std::ceil(NoteSoundingSeconds(instrument, noteSeconds) * RATE);
  size_t frames = static_cast<size_t>(std::min(sounding, static_cast<double>(trackFrames - first)));

  bool drum = instrument.voice != Voice::Tone;
  Drum drumVoice(instrument, note.frequency, 0x9e3779b9u ^ static_cast<uint32_t>(noteIndex * 7919u));
  Noise noise(0x1234567u + static_cast<uint32_t>(first));
  std::vector<UnisonVoice> unison = MakeUnison(instrument, noteIndex);
  StateVariableFilter filterLeft, filterRight;
  bool filtered = instrument.filter != FilterMode::None;
  double velocity = note.velocity;

  for (size_t i = 0; i < frames; ++i) {
    double t = static_cast<double>(i) / RATE;
    if (filtered && i % FILTER_STEP == 0) {
      double cutoff = CutoffAt(instrument, note.beat + t / secondsPerBeat, t, note.frequency);
      filterLeft.Tune(cutoff, instrument.resonance, RATE);
      filterRight.Tune(cutoff, instrument.resonance, RATE);
    }
    double left = 0.0, right = 0.0;
    if (drum) {
      // Drums have their own fade; a short ramp at the cut keeps it from clicking.
      double sample = drumVoice.Next(t) * std::min(1.0, static_cast<double>(frames - i) / 64.0);
      left = right = sample * std::sqrt(0.5);
    } else {
      double level = Envelope(instrument, t, noteSeconds);
      double wobble = instrument.vibrato > 0.0f
                          ? std::pow(2.0, instrument.vibrato / 1200.0 * std::sin(TWO_PI * instrument.vrate * t) *
                                              std::min(1.0, t / 0.3))
                          : 1.0;
      for (UnisonVoice& voice : unison) {
        double step = note.frequency * voice.ratio * wobble / RATE;
        double sample = Oscillator(instrument.wave, voice.phase, step, noise) * level;
        voice.phase += step;
        voice.phase -= std::floor(voice.phase);
        left += sample * voice.left;
        right += sample * voice.right;
      }
    }
    if (filtered) {
      left = filterLeft.Process(left, instrument.filter);
      right = filterRight.Process(right, instrument.filter);
    }
    track[(first + i) * 2] += static_cast<float>(left * velocity);
    track[(first + i) * 2 + 1] += static_cast<float>(right * velocity);
  }
}
