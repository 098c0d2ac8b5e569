#pragma once
// Renders a score to 16-bit stereo PCM: one oscillator per note with a linear attack and release,
// panned, summed and softly limited. The same score always gives the same samples.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/music_score.h"

constexpr int SYNTH_SAMPLE_RATE = 44100;
constexpr int SYNTH_CHANNELS = 2;

// Interleaved left/right samples. The length is the score's length, or the end of the last
// note's release when the score sets none.
std::vector<int16_t> RenderScore(const Score& score);

// The number of sample frames RenderScore gives for score.
size_t ScoreFrameCount(const Score& score);
