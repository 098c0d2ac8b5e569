#pragma once
// Sound inputs made on the spot: RIFF WAVE files around given PCM, test music as PCM and as
// Ogg Vorbis, and a scratch folder to write them into.

#include <cstdint>
#include <string>
#include <vector>

#include "sound/wave_format.h"

using Bytes = std::vector<uint8_t>;

// A RIFF WAVE file: 'fmt ' (16 bytes, or 18 with an extra size field when fmtBytes says so)
// followed by 'data'.
Bytes MakeWave(const WaveFormat& format, const Bytes& pcm, uint32_t fmtBytes = 16);

// A chunk header and contents, with the pad byte of an odd size.
void AppendChunk(Bytes& out, const char id[4], const Bytes& contents);
void AppendU16(Bytes& out, uint16_t value);
void AppendU32(Bytes& out, uint32_t value);

// frames of interleaved 16-bit music that never rests at zero for long, so where it starts in
// a recording can be found.
std::vector<int16_t> TestMusic(size_t frames, int channels, int samplesPerSecond);
Bytes SamplesAsBytes(const std::vector<int16_t>& samples);
// PCM bytes that count up, so any misplaced byte shows.
Bytes CountingPcm(size_t bytes);

// Whether bytes of data from dataFrom equal pcm from pcmFrom.
bool SameBytes(const uint8_t* data, size_t dataFrom, const Bytes& pcm, size_t pcmFrom, size_t bytes);
// Whether bytes of data from from all equal value.
bool AllBytesAre(const uint8_t* data, size_t from, size_t bytes, uint8_t value);

// Test music of the given length as an Ogg Vorbis file.
Bytes TestOggVorbis(double seconds, int channels, int samplesPerSecond);

// A fresh folder for this test; files written there are removed with it at exit.
std::string ScratchFolder();
std::string WriteScratchFile(const std::string& name, const Bytes& bytes);
Bytes ReadWholeFile(const std::string& path);
