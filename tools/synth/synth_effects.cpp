#include "tools/synth/synth_effects.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double PI = 3.141592653589793;
// Comb and all-pass lengths in frames at 44.1 kHz, mutually prime so that their echoes do not
// line up; the right channel's are a little longer, which widens the room.
constexpr int COMB_LENGTHS[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr int ALL_PASS_LENGTHS[] = {556, 441, 341, 225};
constexpr int RIGHT_CHANNEL_SPREAD = 23;
constexpr double REFERENCE_RATE = 44100.0;
constexpr double INPUT_GAIN = 0.015;
constexpr double WET_GAIN = 3.0;
constexpr double ALL_PASS_FEEDBACK = 0.5;

size_t Scaled(int frames, double sampleRate) {
  return std::max<size_t>(1, static_cast<size_t>(std::lround(frames * sampleRate / REFERENCE_RATE)));
}

}  // namespace

PingPongDelay::PingPongDelay(const DelaySettings& settings, double secondsPerBeat, double sampleRate, size_t maxFrames)
    : mLeft(std::clamp<size_t>(static_cast<size_t>(std::llround(std::min(settings.timeBeats * secondsPerBeat * sampleRate, 1e12))), 1,
                               std::max<size_t>(1, maxFrames + 1))),
      mRight(mLeft.size()),
      mFeedback(settings.feedback),
      mToneCoefficient(std::exp(-2.0 * PI * settings.tone / sampleRate)) {}

void PingPongDelay::Process(double inLeft, double inRight, double& outLeft, double& outRight) {
  outLeft = mLeft[mAt];
  outRight = mRight[mAt];
  // The feedback crosses over, so each echo lands on the other side, through a one-pole lowpass.
  mToneLeft = outRight + mToneCoefficient * (mToneLeft - outRight);
  mToneRight = outLeft + mToneCoefficient * (mToneRight - outLeft);
  mLeft[mAt] = 0.5 * (inLeft + inRight) + mFeedback * mToneLeft;
  mRight[mAt] = mFeedback * mToneRight;
  mAt = (mAt + 1) % mLeft.size();
}

Reverb::Reverb(const ReverbSettings& settings, double sampleRate)
    : mFeedback(0.7 + 0.28 * settings.size), mDamp(0.4 * settings.damp) {
  for (int length : COMB_LENGTHS) {
    mCombsLeft.push_back({std::vector<double>(Scaled(length, sampleRate), 0.0)});
    mCombsRight.push_back({std::vector<double>(Scaled(length + RIGHT_CHANNEL_SPREAD, sampleRate), 0.0)});
  }
  for (int length : ALL_PASS_LENGTHS) {
    mAllPassesLeft.push_back({std::vector<double>(Scaled(length, sampleRate), 0.0)});
    mAllPassesRight.push_back({std::vector<double>(Scaled(length + RIGHT_CHANNEL_SPREAD, sampleRate), 0.0)});
  }
  mWetSame = WET_GAIN * (0.5 + 0.5 * settings.width);
  mWetCross = WET_GAIN * (0.5 - 0.5 * settings.width);
}

double Reverb::RunChannel(double input, std::vector<Comb>& combs, std::vector<AllPass>& allPasses) {
  double sum = 0.0;
  for (Comb& comb : combs) {
    double out = comb.buffer[comb.at];
    comb.store = out * (1.0 - mDamp) + comb.store * mDamp;
    comb.buffer[comb.at] = input + comb.store * mFeedback;
    comb.at = (comb.at + 1) % comb.buffer.size();
    sum += out;
  }
  for (AllPass& pass : allPasses) {
    double delayed = pass.buffer[pass.at];
    pass.buffer[pass.at] = sum + delayed * ALL_PASS_FEEDBACK;
    pass.at = (pass.at + 1) % pass.buffer.size();
    sum = delayed - sum;
  }
  return sum;
}

void Reverb::Process(double inLeft, double inRight, double& outLeft, double& outRight) {
  double input = (inLeft + inRight) * INPUT_GAIN;
  double left = RunChannel(input, mCombsLeft, mAllPassesLeft);
  double right = RunChannel(input, mCombsRight, mAllPassesRight);
  outLeft = left * mWetSame + right * mWetCross;
  outRight = right * mWetSame + left * mWetCross;
}
