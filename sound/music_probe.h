#pragma once
// How the player tells whether it can play a music file: the decoder it would choose (RIFF WAVE
// first, then Ogg Vorbis), whether that decoder opens the file, and whether the audio output
// takes the decoded format. Shared by the player and the production checker, so that a file the
// checker passes is one the player plays.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio_buffer.h"
#include "sound/sound_loader.h"
#include "sound/wave_format.h"

// The first decoder that accepts the file (left closed), or null.
std::unique_ptr<CSoundLoader> ChooseMusicDecoder(const char* name);

// The audio output's format for the decoded PCM.
platform::AudioFormat MusicOutputFormat(const WaveFormat& format);

// Whether the audio output plays this format: 8- or 16-bit PCM, mono or stereo, at a rate the
// output converts.
bool MusicFormatPlayable(const WaveFormat& format);

struct MusicProbe {
  bool decoder = false;   // some decoder accepts the file
  bool opens = false;     // and opens it
  bool playable = false;  // and the output takes its format
  const char* decoderName = "";
  WaveFormat format;
  uint32_t lengthMs = 0;
};

MusicProbe ProbeMusic(const std::string& path);
