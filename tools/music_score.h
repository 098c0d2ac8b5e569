#pragma once
// The score format of the music synthesiser: a plain text list of instruments and notes.
//
//   # a comment (a '#' that begins a word)
//   tempo 120                                  beats per minute
//   length 16                                  total length in beats (the music's end)
//   instrument bass wave=saw gain=0.5 pan=-0.3 attack=0.01 release=0.2
//   note 0 2 bass C2                           at beat 0, 2 beats long, pitch C2
//   note 2.5 0.5 bass 43                       pitch as a MIDI number
//
// Waves: sine, square, saw, triangle, noise. Pitches: a letter A-G, an optional # or b, an octave
// (C4 = MIDI 60 = 261.63 Hz), or a MIDI number.

#include <string>
#include <vector>

enum class Wave { Sine, Square, Saw, Triangle, Noise };

struct Instrument {
  std::string name;
  Wave wave = Wave::Sine;
  float gain = 0.5f;
  float pan = 0.0f;      // -1 left, +1 right
  float attack = 0.01f;  // seconds
  float release = 0.1f;  // seconds
};

struct Note {
  double beat = 0.0;
  double lengthBeats = 1.0;
  int instrument = 0;  // index into Score::instruments
  double frequency = 440.0;
};

struct Score {
  double tempo = 120.0;
  double lengthBeats = 0.0;  // 0: until the last note has faded
  std::vector<Instrument> instruments;
  std::vector<Note> notes;
};

// Parses score text; on failure returns false with error naming the line (and the line's number
// in errorLine when given).
bool ParseScore(const std::string& text, Score& score, std::string& error, int* errorLine = nullptr);

// Frequency in Hz of a pitch name or MIDI number; false if it is neither.
bool PitchFrequency(const std::string& pitch, double& frequency);
