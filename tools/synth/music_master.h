#pragma once
// Mastering: loudness measured to the broadcast standard (libebur128: K-weighted, gated
// integrated loudness and 4x oversampled true peak), a look-ahead limiter, and the loop that
// brings a mix to a target loudness under a true-peak ceiling that still holds after Vorbis
// encoding, which moves peaks a little.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/synth/music_score.h"

// The limiter's first ceiling sits this far below the wanted true peak: inter-sample peaks and the
// encoder's changes take up the rest.
inline constexpr double MASTER_FIRST_HEADROOM_DB = 1.0;

struct LoudnessFigures {
  double integratedLufs = 0.0;
  double truePeakDbtp = 0.0;
};

// Measures interleaved stereo samples at rate (floats with 1.0 full scale, or 16-bit). False when
// the library refuses them.
bool MeasureLoudness(const std::vector<float>& stereo, int rate, LoudnessFigures& figures);
bool MeasureLoudness(const std::vector<int16_t>& stereo, int rate, LoudnessFigures& figures);

// Lowers the gain of interleaved stereo so that no sample, nor the points halfway between samples
// as a cubic through their neighbours places them, exceeds ceiling (linear). The gain falls ahead
// of each peak over a few milliseconds and recovers after it.
void LimitPeaks(std::vector<float>& stereo, double ceiling, int rate);

// The mix gained to loudness (LUFS) and limited at ceilingDb (dBFS), in 16 bits.
std::vector<int16_t> MasterMix(const std::vector<float>& mix, double loudness, double ceilingDb);

// Renders the score and encodes it as Ogg Vorbis at quality. A mastered score is then decoded with
// the player's decoder and measured; while its true peak is above the score's, the limiter's
// ceiling is lowered by the excess and the score mastered again; measured then holds the figures
// of the file written (an unmastered score is neither decoded nor measured). False with error set
// when encoding or decoding fails or the peak cannot be met.
bool RenderScoreToOgg(const Score& score, float quality, std::vector<uint8_t>& ogg, LoudnessFigures& measured,
                      std::string& error);

// Decodes Ogg Vorbis bytes with the player's decoder into interleaved 16-bit samples.
bool DecodeOggVorbis(const std::vector<uint8_t>& ogg, std::vector<int16_t>& pcm, int& rate, int& channels);
