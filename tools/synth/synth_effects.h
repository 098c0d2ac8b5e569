#pragma once
// The synthesiser's shared effects, fed by the instruments' sends: a ping-pong delay and a reverb
// of parallel damped combs followed by all-pass diffusers.

#include <cstddef>
#include <vector>

#include "tools/synth/music_score.h"

// Echoes that alternate between the channels, each darker than the one before.
class PingPongDelay {
 public:
  // An echo later than maxFrames is never heard: the line is no longer than that.
  PingPongDelay(const DelaySettings& settings, double secondsPerBeat, double sampleRate, size_t maxFrames);
  void Process(double inLeft, double inRight, double& outLeft, double& outRight);

 private:
  std::vector<double> mLeft, mRight;
  size_t mAt = 0;
  double mFeedback;
  double mToneCoefficient;
  double mToneLeft = 0.0, mToneRight = 0.0;
};

class Reverb {
 public:
  Reverb(const ReverbSettings& settings, double sampleRate);
  // The wet signal only.
  void Process(double inLeft, double inRight, double& outLeft, double& outRight);

 private:
  struct Comb {
    std::vector<double> buffer;
    size_t at = 0;
    double store = 0.0;
  };
  struct AllPass {
    std::vector<double> buffer;
    size_t at = 0;
  };
  double RunChannel(double input, std::vector<Comb>& combs, std::vector<AllPass>& allPasses);

  std::vector<Comb> mCombsLeft, mCombsRight;
  std::vector<AllPass> mAllPassesLeft, mAllPassesRight;
  double mFeedback;
  double mDamp;
  double mWetSame, mWetCross;
};
