#pragma once
// One sounding note of the synthesiser: the instrument's oscillators or drum, its envelope and its
// filter, rendered into an instrument's stereo track.

#include <cstddef>
#include <vector>

#include "tools/synth/music_score.h"

// A state-variable filter (trapezoidal integration): stable under fast cutoff changes, so the
// cutoff can follow an envelope and automation sample by sample.
class StateVariableFilter {
 public:
  void Tune(double cutoffHz, double resonance, double sampleRate);
  double Process(double input, FilterMode mode);

 private:
  double mState1 = 0.0, mState2 = 0.0;
  double mA1 = 1.0, mA2 = 0.0, mA3 = 0.0, mDamping = 2.0;
};

// The seconds a note sounds: its length plus its release, or the fade of a drum.
double NoteSoundingSeconds(const Instrument& instrument, double noteSeconds);

// Adds note (index `noteIndex` in the score, which seeds its noise and unison phases) to the
// interleaved stereo track, from the note's first frame on; frames past the track are dropped.
// The note is centred: the instrument's gain and pan are the track's business.
void RenderNote(const Score& score, const Note& note, size_t noteIndex, std::vector<float>& track);
