#pragma once
// The edge cases every decoder must meet on one second of 44.1 HZ 16-bit stereo (176400
// bytes). pcm is what the decoder's whole-sound read delivers.

#include "sound/sound_loader.h"
#include "tests/support/sound_test_data.h"

// Blocks of 44100: statuses 1, 1, 1, 1 with the sound in order, then 8 and a silent block.
void ExpectQuarterSecondBlocksThenSilence(CSoundLoader& loader, const Bytes& pcm);
// From 150000 with blocks of 44100: 26400 bytes of sound, then 17700 of silence (status 7),
// or of the start again when looping (status 1, position 17700).
void ExpectEndInsideABlock(CSoundLoader& loader, const Bytes& pcm);
