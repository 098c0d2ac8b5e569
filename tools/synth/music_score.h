#pragma once
// The score format of the music synthesiser: a plain text list of instruments, notes, effects and
// automation.
//
//   # a comment (a '#' that begins a word)
//   tempo 120                                  beats per minute
//   length 16                                  total length in beats (the music's end)
//   instrument bass wave=saw gain=0.5 pan=-0.3 attack=0.01 release=0.2
//   note 0 2 bass C2                           at beat 0, 2 beats long, pitch C2
//   note 2.5 0.5 bass 43 0.7                   pitch as a MIDI number, velocity 0.7 (default 1)
//
// Waves: sine, square, saw, triangle, noise. Pitches: a letter A-G, an optional # or b, an octave
// (C4 = MIDI 60 = 261.63 Hz), or a MIDI number.
//
// Instrument settings beyond the basic five (all optional; the defaults leave a plain oscillator):
//   voice=tone|kick|snare|hat|clap     a synthesised drum instead of the wave; its pitch tunes it
//   decay=S sustain=L                  ADSR: after the attack the level falls over decay seconds
//                                      to sustain (0 to 1); drums fade with decay as time constant
//   voices=N detune=CENTS width=W      N unison oscillators spread over ±detune, panned over ±W
//   filter=lowpass|highpass|bandpass cutoff=HZ resonance=R envmod=HZ fdecay=S keytrack=K
//                                      a per-note filter; envmod adds HZ falling away over fdecay
//   vibrato=CENTS vrate=HZ             pitch wobble, faded in over the first 0.3 s
//   delay=SEND reverb=SEND             how much goes to the shared delay and reverb
//   duck=AMOUNT                        sidechain: ducked by every kick note (0 to 1)
//
//   delay time=0.75 feedback=0.4 tone=4000   the shared ping-pong delay (time in beats)
//   reverb size=0.8 damp=0.4 width=1         the shared reverb
//   master loudness=-14 peak=-1              mastered to this integrated loudness (LUFS) under a
//                                            true-peak ceiling (dBTP); without it the mix is only
//                                            softly clipped
//   automate bass cutoff 0:200 32:2000       a parameter over time: beat:value points, linear in
//                                            between, held before the first and after the last;
//                                            further lines add later points. Instruments: gain (a
//                                            factor), cutoff, pan, delay, reverb (the sends).
//                                            "master": gain.

#include <string>
#include <vector>

enum class Wave { Sine, Square, Saw, Triangle, Noise };
enum class Voice { Tone, Kick, Snare, Hat, Clap };
enum class FilterMode { None, Lowpass, Highpass, Bandpass };

// One automated parameter: points in beats, linear in between.
struct AutomationPoint {
  double beat = 0.0;
  double value = 0.0;
};

struct Automation {
  std::vector<AutomationPoint> points;  // in rising beat order
  bool IsSet() const { return !points.empty(); }
  // The value at beat: held before the first point and after the last.
  double ValueAt(double beat) const;
};

struct Instrument {
  std::string name;
  Wave wave = Wave::Sine;
  Voice voice = Voice::Tone;
  float gain = 0.5f;
  float pan = 0.0f;      // -1 left, +1 right
  float attack = 0.01f;  // seconds
  float decay = 0.0f;    // seconds; for drums the time constant of their fade
  float sustain = 1.0f;  // level after the decay
  float release = 0.1f;  // seconds
  int voices = 1;
  float detune = 0.0f;  // cents either side
  float width = 0.0f;   // unison pan spread
  FilterMode filter = FilterMode::None;
  float cutoff = 20000.0f;  // Hz
  float resonance = 0.0f;   // 0 to 0.95
  float envmod = 0.0f;      // Hz added at the note's start
  float fdecay = 0.2f;      // seconds
  float keytrack = 0.0f;    // cutoff follows the pitch: 1 moves it an octave per octave above C4
  float vibrato = 0.0f;     // cents
  float vrate = 5.0f;       // Hz
  float delaySend = 0.0f;
  float reverbSend = 0.0f;
  float duck = 0.0f;
  Automation gainAutomation, cutoffAutomation, panAutomation, delayAutomation, reverbAutomation;
};

struct Note {
  double beat = 0.0;
  double lengthBeats = 1.0;
  int instrument = 0;  // index into Score::instruments
  double frequency = 440.0;
  float velocity = 1.0f;
};

struct DelaySettings {
  double timeBeats = 0.75;
  float feedback = 0.35f;
  float tone = 5000.0f;  // lowpass in the feedback loop, Hz
};

struct ReverbSettings {
  float size = 0.75f;  // 0 to 1
  float damp = 0.4f;   // 0 to 1
  float width = 1.0f;  // 0 to 1
};

struct MasterSettings {
  bool enabled = false;
  double loudness = -14.0;  // LUFS
  double peak = -1.0;       // dBTP
};

struct Score {
  double tempo = 120.0;
  double lengthBeats = 0.0;  // 0: until the last note has faded
  std::vector<Instrument> instruments;
  std::vector<Note> notes;
  DelaySettings delay;
  ReverbSettings reverb;
  MasterSettings master;
  Automation masterGain;
};

// Parses score text; on failure returns false with error naming the line (and the line's number
// in errorLine when given).
bool ParseScore(const std::string& text, Score& score, std::string& error, int* errorLine = nullptr);

// Frequency in Hz of a pitch name or MIDI number; false if it is neither.
bool PitchFrequency(const std::string& pitch, double& frequency);
