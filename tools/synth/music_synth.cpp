#include "tools/synth/music_synth.h"

#include <algorithm>
#include <cmath>

#include "tools/synth/music_master.h"
#include "tools/synth/synth_effects.h"
#include "tools/synth/synth_voice.h"

namespace {

// Track gain, pan and sends follow their automation in steps this many frames apart.
constexpr size_t CONTROL_STEP = 32;
// The share of the delay's echoes that also goes into the reverb.
constexpr double DELAY_INTO_REVERB = 0.25;
// Sidechain ducking: full for a moment at each kick, then back over this time constant.
constexpr double DUCK_HOLD_SECONDS = 0.01;
constexpr double DUCK_RECOVERY_SECONDS = 0.11;

double SecondsPerBeat(const Score& score) { return 60.0 / score.tempo; }

bool UsesSend(const Score& score, float Instrument::*send, Automation Instrument::*automation) {
  for (const Instrument& instrument : score.instruments) {
    if (instrument.*send > 0.0f || (instrument.*automation).IsSet()) return true;
  }
  return false;
}

// How far every kick pushes the ducked instruments down at each frame, 0 to 1.
std::vector<float> DuckCurve(const Score& score, size_t frames) {
  std::vector<float> curve(frames, 0.0f);
  for (const Note& note : score.notes) {
    if (score.instruments[note.instrument].voice != Voice::Kick) continue;
    double start = note.beat * SecondsPerBeat(score) * SYNTH_SAMPLE_RATE;
    if (!(start < static_cast<double>(frames))) continue;
    size_t first = static_cast<size_t>(start);
    size_t length = static_cast<size_t>((DUCK_HOLD_SECONDS + 6.0 * DUCK_RECOVERY_SECONDS) * SYNTH_SAMPLE_RATE);
    for (size_t i = 0; i < length && first + i < frames; ++i) {
      double t = static_cast<double>(i) / SYNTH_SAMPLE_RATE;
      double depth = t < DUCK_HOLD_SECONDS ? 1.0 : std::exp(-(t - DUCK_HOLD_SECONDS) / DUCK_RECOVERY_SECONDS);
      curve[first + i] = std::max(curve[first + i], static_cast<float>(depth * note.velocity));
    }
  }
  return curve;
}

struct Buses {
  std::vector<float> master, delay, reverb;
};

// Track settings at one moment: gain, pan and the two sends.
struct TrackControls {
  double left, right, delay, reverb;
};

TrackControls ControlsAt(const Instrument& instrument, double beat) {
  double gain = instrument.gain * (instrument.gainAutomation.IsSet() ? instrument.gainAutomation.ValueAt(beat) : 1.0);
  double pan = instrument.panAutomation.IsSet() ? instrument.panAutomation.ValueAt(beat) : instrument.pan;
  pan = std::clamp(pan, -1.0, 1.0);
  auto send = [&](float base, const Automation& automation) {
    return std::max(0.0, automation.IsSet() ? automation.ValueAt(beat) : base);
  };
  // A centred track already carries the equal-power half of each side; pan shifts the balance.
  return {gain * std::sqrt(1.0 - pan), gain * std::sqrt(1.0 + pan), send(instrument.delaySend, instrument.delayAutomation),
          send(instrument.reverbSend, instrument.reverbAutomation)};
}

void MixTrack(const Score& score, const Instrument& instrument, const std::vector<float>& track,
              const std::vector<float>& duck, Buses& buses) {
  size_t frames = track.size() / SYNTH_CHANNELS;
  TrackControls controls{};
  for (size_t n = 0; n < frames; ++n) {
    if (n % CONTROL_STEP == 0) {
      controls = ControlsAt(instrument, static_cast<double>(n) / SYNTH_SAMPLE_RATE / SecondsPerBeat(score));
    }
    double ducked = instrument.duck > 0.0f ? 1.0 - instrument.duck * duck[n] : 1.0;
    double left = track[n * 2] * controls.left * ducked;
    double right = track[n * 2 + 1] * controls.right * ducked;
    buses.master[n * 2] += static_cast<float>(left);
    buses.master[n * 2 + 1] += static_cast<float>(right);
    if (!buses.delay.empty()) {
      buses.delay[n * 2] += static_cast<float>(left * controls.delay);
      buses.delay[n * 2 + 1] += static_cast<float>(right * controls.delay);
    }
    if (!buses.reverb.empty()) {
      buses.reverb[n * 2] += static_cast<float>(left * controls.reverb);
      buses.reverb[n * 2 + 1] += static_cast<float>(right * controls.reverb);
    }
  }
}

void RunDelay(const Score& score, Buses& buses) {
  PingPongDelay delay(score.delay, SecondsPerBeat(score), SYNTH_SAMPLE_RATE, buses.delay.size() / SYNTH_CHANNELS);
  for (size_t i = 0; i + 1 < buses.delay.size(); i += 2) {
    double left = 0.0, right = 0.0;
    delay.Process(buses.delay[i], buses.delay[i + 1], left, right);
    buses.master[i] += static_cast<float>(left);
    buses.master[i + 1] += static_cast<float>(right);
    if (!buses.reverb.empty()) {
      buses.reverb[i] += static_cast<float>(left * DELAY_INTO_REVERB);
      buses.reverb[i + 1] += static_cast<float>(right * DELAY_INTO_REVERB);
    }
  }
}

void RunReverb(const Score& score, Buses& buses) {
  Reverb reverb(score.reverb, SYNTH_SAMPLE_RATE);
  for (size_t i = 0; i + 1 < buses.reverb.size(); i += 2) {
    double left = 0.0, right = 0.0;
    reverb.Process(buses.reverb[i], buses.reverb[i + 1], left, right);
    buses.master[i] += static_cast<float>(left);
    buses.master[i + 1] += static_cast<float>(right);
  }
}

void ApplyMasterGain(const Score& score, std::vector<float>& master) {
  if (!score.masterGain.IsSet()) return;
  double gain = 1.0;
  for (size_t n = 0; n < master.size() / 2; ++n) {
    if (n % CONTROL_STEP == 0) gain = score.masterGain.ValueAt(static_cast<double>(n) / SYNTH_SAMPLE_RATE / SecondsPerBeat(score));
    master[n * 2] = static_cast<float>(master[n * 2] * gain);
    master[n * 2 + 1] = static_cast<float>(master[n * 2 + 1] * gain);
  }
}

}  // namespace

double ScoreSeconds(const Score& score) {
  double seconds = score.lengthBeats * SecondsPerBeat(score);
  if (score.lengthBeats <= 0.0) {
    for (const Note& note : score.notes) {
      const Instrument& instrument = score.instruments[note.instrument];
      double end = note.beat * SecondsPerBeat(score) + NoteSoundingSeconds(instrument, note.lengthBeats * SecondsPerBeat(score));
      seconds = std::max(seconds, end);
    }
  }
  return seconds;
}

bool ScoreLengthAcceptable(const Score& score, std::string& error) {
  double seconds = ScoreSeconds(score);
  if (std::isfinite(seconds) && seconds <= SYNTH_MAX_SECONDS) return true;
  error = "the music would last " + std::to_string(seconds) + " seconds, more than " + std::to_string(SYNTH_MAX_SECONDS);
  return false;
}

size_t ScoreFrames(const Score& score) { return static_cast<size_t>(std::ceil(ScoreSeconds(score) * SYNTH_SAMPLE_RATE)); }

std::vector<float> MixScore(const Score& score) {
  size_t frames = ScoreFrames(score);
  Buses buses;
  buses.master.assign(frames * SYNTH_CHANNELS, 0.0f);
  if (UsesSend(score, &Instrument::delaySend, &Instrument::delayAutomation)) buses.delay.assign(buses.master.size(), 0.0f);
  if (UsesSend(score, &Instrument::reverbSend, &Instrument::reverbAutomation)) buses.reverb.assign(buses.master.size(), 0.0f);
  std::vector<float> duck = DuckCurve(score, frames);
  std::vector<float> track(buses.master.size());
  for (size_t i = 0; i < score.instruments.size(); ++i) {
    std::fill(track.begin(), track.end(), 0.0f);
    bool sounds = false;
    for (size_t n = 0; n < score.notes.size(); ++n) {
      if (score.notes[n].instrument != static_cast<int>(i)) continue;
      RenderNote(score, score.notes[n], n, track);
      sounds = true;
    }
    if (sounds) MixTrack(score, score.instruments[i], track, duck, buses);
  }
  if (!buses.delay.empty()) RunDelay(score, buses);
  if (!buses.reverb.empty()) RunReverb(score, buses);
  ApplyMasterGain(score, buses.master);
  return std::move(buses.master);
}

std::vector<int16_t> SoftClipToPcm(const std::vector<float>& mix) {
  std::vector<int16_t> pcm(mix.size());
  for (size_t i = 0; i < mix.size(); ++i) pcm[i] = static_cast<int16_t>(std::lround(std::tanh(mix[i]) * 32767.0));
  return pcm;
}

std::vector<int16_t> RenderScore(const Score& score) {
  std::vector<float> mix = MixScore(score);
  if (!score.master.enabled) return SoftClipToPcm(mix);
  return MasterMix(mix, score.master.loudness, score.master.peak - MASTER_FIRST_HEADROOM_DB);
}
