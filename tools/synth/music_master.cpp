#include "tools/synth/music_master.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>

#include <ebur128.h>

#include "sound/ogg_vorbis_loader.h"
#include "sound/sound_source.h"
#include "tools/synth/music_synth.h"
#include "tools/synth/ogg_encoder.h"

namespace {

constexpr double LOOKAHEAD_SECONDS = 0.003;
constexpr double RELEASE_SECONDS = 0.08;
// Gain passes to bring the limited mix to its loudness; each moves it by the error of the last.
constexpr int LOUDNESS_PASSES = 6;
constexpr double LOUDNESS_TOLERANCE = 0.05;
// Encoded files measured above their peak: the ceiling comes down this much beyond the excess.
constexpr double PEAK_MARGIN_DB = 0.15;
constexpr int PEAK_PASSES = 4;

double DbToLinear(double db) { return std::pow(10.0, db / 20.0); }

template <typename Sample, typename Add>
bool Measure(const std::vector<Sample>& stereo, int rate, LoudnessFigures& figures, int mode, Add add) {
  ebur128_state* state = ebur128_init(SYNTH_CHANNELS, static_cast<unsigned long>(rate), mode);
  if (!state) return false;
  bool ok = add(state, stereo.data(), stereo.size() / SYNTH_CHANNELS) == EBUR128_SUCCESS &&
            ebur128_loudness_global(state, &figures.integratedLufs) == EBUR128_SUCCESS;
  if (ok && (mode & EBUR128_MODE_TRUE_PEAK) == EBUR128_MODE_TRUE_PEAK) {
    double peak = 0.0;
    for (unsigned channel = 0; ok && channel < SYNTH_CHANNELS; ++channel) {
      double channelPeak = 0.0;
      ok = ebur128_true_peak(state, channel, &channelPeak) == EBUR128_SUCCESS;
      peak = std::max(peak, channelPeak);
    }
    figures.truePeakDbtp = peak > 0.0 ? 20.0 * std::log10(peak) : -INFINITY;
  }
  ebur128_destroy(&state);
  return ok;
}

double IntegratedLoudness(const std::vector<float>& stereo) {
  LoudnessFigures figures;
  if (!Measure(stereo, SYNTH_SAMPLE_RATE, figures, EBUR128_MODE_I, ebur128_add_frames_float)) return -INFINITY;
  return figures.integratedLufs;
}

// The largest magnitude of frame n, including the cubic midpoint towards the next frame.
double FramePeak(const std::vector<float>& stereo, size_t n, size_t frames) {
  double peak = 0.0;
  for (size_t c = 0; c < SYNTH_CHANNELS; ++c) {
    auto at = [&](long i) {
      i = std::clamp<long>(i, 0, static_cast<long>(frames) - 1);
      return static_cast<double>(stereo[static_cast<size_t>(i) * SYNTH_CHANNELS + c]);
    };
    long i = static_cast<long>(n);
    double middle = (-at(i - 1) + 9.0 * at(i) + 9.0 * at(i + 1) - at(i + 2)) / 16.0;
    peak = std::max({peak, std::abs(at(i)), std::abs(middle)});
  }
  return peak;
}

// The smallest of values[n .. n + window - 1] for every n (a sliding minimum, linear time).
std::vector<double> ForwardMinimum(const std::vector<double>& values, size_t window) {
  std::vector<double> out(values.size());
  std::deque<size_t> candidates;
  size_t next = 0;
  for (size_t n = 0; n < values.size(); ++n) {
    for (; next < values.size() && next < n + window; ++next) {
      while (!candidates.empty() && values[candidates.back()] >= values[next]) candidates.pop_back();
      candidates.push_back(next);
    }
    while (candidates.front() < n) candidates.pop_front();
    out[n] = values[candidates.front()];
  }
  return out;
}

std::vector<int16_t> ToPcm(const std::vector<float>& stereo) {
  std::vector<int16_t> pcm(stereo.size());
  for (size_t i = 0; i < stereo.size(); ++i) {
    pcm[i] = static_cast<int16_t>(std::clamp<long>(std::lround(stereo[i] * 32767.0), -32767, 32767));
  }
  return pcm;
}

}  // namespace

bool MeasureLoudness(const std::vector<float>& stereo, int rate, LoudnessFigures& figures) {
  return Measure(stereo, rate, figures, EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK, ebur128_add_frames_float);
}

bool MeasureLoudness(const std::vector<int16_t>& stereo, int rate, LoudnessFigures& figures) {
  return Measure(stereo, rate, figures, EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK, ebur128_add_frames_short);
}

void LimitPeaks(std::vector<float>& stereo, double ceiling, int rate) {
  size_t frames = stereo.size() / SYNTH_CHANNELS;
  if (frames == 0) return;
  size_t window = std::max<size_t>(1, static_cast<size_t>(LOOKAHEAD_SECONDS * rate));
  std::vector<double> needed(frames);
  for (size_t n = 0; n < frames; ++n) {
    double peak = FramePeak(stereo, n, frames);
    needed[n] = peak > ceiling ? ceiling / peak : 1.0;
  }
  // A frame's gain is the mean of the window's minima before it: every minimum in that mean
  // already covers the frame's own need, so the peak is met exactly, and the gain ramps down
  // smoothly across the look-ahead.
  std::vector<double> minimum = ForwardMinimum(needed, window);
  double release = std::exp(-1.0 / (RELEASE_SECONDS * rate));
  double sum = 0.0, gain = 1.0;
  for (size_t n = 0; n < frames; ++n) {
    sum += minimum[n];
    if (n >= window) sum -= minimum[n - window];
    double smooth = std::min(sum / static_cast<double>(std::min(n + 1, window)), needed[n]);
    gain = smooth < gain ? smooth : smooth + (gain - smooth) * release;
    for (size_t c = 0; c < SYNTH_CHANNELS; ++c) {
      float& sample = stereo[n * SYNTH_CHANNELS + c];
      sample = static_cast<float>(std::clamp(sample * gain, -ceiling, ceiling));
    }
  }
}

std::vector<int16_t> MasterMix(const std::vector<float>& mix, double loudness, double ceilingDb) {
  double measured = IntegratedLoudness(mix);
  if (!std::isfinite(measured)) return ToPcm(mix);  // silence: nothing to bring up
  double gain = DbToLinear(loudness - measured);
  std::vector<float> limited;
  for (int pass = 0; pass < LOUDNESS_PASSES; ++pass) {
    limited = mix;
    for (float& sample : limited) sample = static_cast<float>(sample * gain);
    LimitPeaks(limited, DbToLinear(ceilingDb), SYNTH_SAMPLE_RATE);
    double error = loudness - IntegratedLoudness(limited);
    if (std::abs(error) < LOUDNESS_TOLERANCE) break;
    gain *= DbToLinear(error);
  }
  return ToPcm(limited);
}

bool DecodeOggVorbis(const std::vector<uint8_t>& ogg, std::vector<int16_t>& pcm, int& rate, int& channels) {
  OggVorbisLoader loader;
  if (loader.Open(SOUND_MEMORY_SOURCE_NAME, ogg.data(), ogg.size()) != SOUND_OK) return false;
  WaveFormat format;
  PcmBlock block;
  if (loader.GetFormat(format) != SOUND_OK || loader.Read(block, 0, 0, false) != SOUND_OK) return false;
  rate = static_cast<int>(format.samplesPerSecond);
  channels = format.channels;
  pcm.resize(block.Size() / sizeof(int16_t));
  std::memcpy(pcm.data(), block.Data(), pcm.size() * sizeof(int16_t));
  return true;
}

bool RenderScoreToOgg(const Score& score, float quality, std::vector<uint8_t>& ogg, LoudnessFigures& measured,
                      std::string& error) {
  if (!ScoreLengthAcceptable(score, error)) return false;
  std::vector<float> mix = MixScore(score);
  double ceilingDb = score.master.peak - MASTER_FIRST_HEADROOM_DB;
  for (int pass = 0; pass < PEAK_PASSES; ++pass) {
    std::vector<int16_t> pcm = score.master.enabled ? MasterMix(mix, score.master.loudness, ceilingDb) : SoftClipToPcm(mix);
    ogg.clear();
    if (!EncodeOggVorbis(pcm, SYNTH_SAMPLE_RATE, SYNTH_CHANNELS, quality, ogg, error)) return false;
    if (!score.master.enabled) return true;
    std::vector<int16_t> decoded;
    int rate = 0, channels = 0;
    if (!DecodeOggVorbis(ogg, decoded, rate, channels) || channels != SYNTH_CHANNELS) {
      error = "the encoded music does not decode";
      return false;
    }
    if (!MeasureLoudness(decoded, rate, measured)) {
      error = "the loudness of the encoded music cannot be measured";
      return false;
    }
    if (measured.truePeakDbtp <= score.master.peak) return true;
    ceilingDb -= measured.truePeakDbtp - score.master.peak + PEAK_MARGIN_DB;
  }
  error = "the true peak stays above " + std::to_string(score.master.peak) + " dBTP after encoding";
  return false;
}
