#pragma once
// Renders a score to stereo PCM: each instrument's notes into a track of its own, the track's
// gain, pan, ducking and sends (with their automation), the shared delay and reverb, and the
// master: mastered to a loudness under a true-peak ceiling when the score asks for it, otherwise
// softly clipped. The same score always gives the same samples.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/synth/music_score.h"

constexpr int SYNTH_SAMPLE_RATE = 44100;
constexpr int SYNTH_CHANNELS = 2;
// The longest music the synthesiser renders; a longer score is refused before anything is
// allocated for it.
constexpr double SYNTH_MAX_SECONDS = 3600.0;

// The seconds of the music: the score's length, or the end of the last note's sound when it sets
// none.
double ScoreSeconds(const Score& score);
// False, with error saying why, for a score longer than SYNTH_MAX_SECONDS; the functions below
// expect a score that passes.
bool ScoreLengthAcceptable(const Score& score, std::string& error);
size_t ScoreFrames(const Score& score);

// The mix before the master: interleaved left/right floats, 1.0 being full scale.
std::vector<float> MixScore(const Score& score);

// Interleaved left/right 16-bit samples of the whole score.
std::vector<int16_t> RenderScore(const Score& score);

// The mix softly clipped into 16 bits, as an unmastered score sounds.
std::vector<int16_t> SoftClipToPcm(const std::vector<float>& mix);
