#pragma once
// Where the sound of a RIFF WAVE file is: its format record and its 'data' chunk.

#include <cstdint>

#include "sound/riff_source.h"
#include "sound/wave_format.h"

struct WaveLayout {
  WaveFormat format;
  uint64_t dataOffset = 0;
  uint32_t dataSize = 0;
};

// Descends to the 'WAVE' form, reads its 'fmt ' chunk (only the first 18 bytes of a longer
// one) and finds the 'data' chunk after it. False for anything else, including a format that
// names no channels, no rate or no block size.
bool ReadWaveLayout(RiffSource& source, WaveLayout& out);
