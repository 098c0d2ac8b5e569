#include "content/showcase/generators/score_composer.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "content/showcase/generators/timeline.h"

namespace {

struct Chord {
  int root;                // the bass note, MIDI
  std::vector<int> tones;  // the pad's voicing, MIDI
};

const Chord A_MINOR{33, {57, 60, 64}};
const Chord F_MAJOR{29, {53, 57, 60}};
const Chord C_MAJOR{36, {55, 60, 64}};
const Chord G_MAJOR{31, {55, 59, 62}};
const Chord E_MINOR{28, {55, 59, 64}};
const Chord D_MINOR{38, {53, 57, 62}};

// i - VI - III - VII, the piece's main turn; the city and the breakdown have their own.
const std::vector<Chord> MAIN_TURN = {A_MINOR, F_MAJOR, C_MAJOR, G_MAJOR};
const std::vector<Chord> CITY_TURN = {D_MINOR, A_MINOR, F_MAJOR, E_MINOR};
const std::vector<Chord> BREAKDOWN_TURN = {F_MAJOR, G_MAJOR, E_MINOR, A_MINOR};

struct MelodyNote {
  double beat;
  double length;
  int pitch;
};

// Eight bars over the main turn: a question in the first four, its answer in the next four.
const std::vector<MelodyNote> LEAD_MOTIF = {
    {0, 1, 76},    {1, 0.5, 81},  {1.5, 0.5, 79}, {2, 1, 76},    {3, 0.5, 74},   {3.5, 0.5, 72},
    {4, 1.5, 72},  {5.5, 0.5, 69}, {6, 1, 72},    {7, 1, 74},    {8, 1, 76},     {9, 0.5, 79},
    {9.5, 0.5, 76}, {10, 1, 74},  {11, 0.5, 72},  {11.5, 0.5, 74}, {12, 2, 71},  {14, 1, 74},
    {15, 1, 79},   {16, 1, 76},   {17, 0.5, 81},  {17.5, 0.5, 83}, {18, 1, 84},  {19, 0.5, 83},
    {19.5, 0.5, 81}, {20, 1.5, 81}, {21.5, 0.5, 79}, {22, 1, 77}, {23, 1, 76},   {24, 1, 79},
    {25, 0.5, 76}, {25.5, 0.5, 72}, {26, 1, 74},  {27, 1, 76},   {28, 3, 74},    {31, 1, 71},
};

// The city's bell: a sparse pentatonic line, one phrase per four bars.
const std::vector<MelodyNote> BELL_PHRASE = {
    {0, 1.5, 81}, {1.5, 1.5, 77}, {3, 1, 74}, {6, 2, 76}, {8, 1.5, 72}, {9.5, 1.5, 76}, {11, 1, 79}, {14, 2, 76},
};

class ScoreText {
 public:
  void Line(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    mText += buffer;
    mText += '\n';
  }
  void Blank() { mText += '\n'; }
  void Note(double beat, double length, const char* instrument, int pitch, double velocity = 1.0) {
    if (velocity == 1.0) Line("note %.4g %.4g %s %d", beat, length, instrument, pitch);
    else Line("note %.4g %.4g %s %d %.3g", beat, length, instrument, pitch, velocity);
  }
  const std::string& Text() const { return mText; }

 private:
  std::string mText;
};

double BarBeat(int bar) { return static_cast<double>(bar) * BEATS_PER_BAR; }

const Chord& ChordOf(const std::vector<Chord>& turn, int barInTurn) { return turn[barInTurn % turn.size()]; }

void WriteInstruments(ScoreText& score) {
  score.Line("tempo %g", SHOWCASE_TEMPO);
  score.Line("length %d", ShowcaseBars() * BEATS_PER_BAR);
  score.Line("master loudness=-14 peak=-1");
  score.Line("delay time=0.75 feedback=0.42 tone=3500");
  score.Line("reverb size=0.82 damp=0.45 width=1");
  score.Blank();
  score.Line("# drums");
  score.Line("instrument kick voice=kick gain=0.6 decay=0.3 reverb=0.02");
  score.Line("instrument impact voice=kick gain=0.3 decay=0.5 reverb=0.6");
  score.Line("instrument clap voice=clap gain=0.45 pan=0.05 decay=0.16 reverb=0.25");
  score.Line("instrument snare voice=snare gain=0.4 decay=0.12 reverb=0.2");
  score.Line("instrument hat voice=hat gain=0.35 pan=0.25 decay=0.04");
  score.Line("instrument openhat voice=hat gain=0.22 pan=-0.2 decay=0.2 reverb=0.1");
  score.Line("instrument crash voice=hat gain=0.25 decay=0.8 reverb=0.4");
  score.Line("instrument riser wave=noise gain=0.09 attack=2 release=0.3 filter=bandpass cutoff=400 resonance=0.5 "
             "reverb=0.5 delay=0.2");
  score.Blank();
  score.Line("# bass, pads, arpeggio, lead");
  score.Line("instrument sub wave=sine gain=0.25 attack=0.005 release=0.08 duck=0.7");
  score.Line("instrument bass wave=saw voices=2 detune=6 width=0.2 gain=0.24 attack=0.003 decay=0.18 sustain=0.5 "
             "release=0.06 filter=lowpass cutoff=320 resonance=0.35 envmod=1500 fdecay=0.09 duck=0.75");
  score.Line("instrument pad wave=saw voices=5 detune=16 width=0.9 gain=0.16 attack=0.6 release=1.8 filter=lowpass "
             "cutoff=1400 resonance=0.15 reverb=0.45 duck=0.45");
  score.Line("instrument arp wave=square voices=2 detune=5 width=0.5 gain=0.13 attack=0.002 decay=0.16 sustain=0 "
             "release=0.1 filter=lowpass cutoff=1200 resonance=0.45 envmod=2600 fdecay=0.08 delay=0.35 reverb=0.2 "
             "duck=0.3");
  score.Line("instrument lead wave=saw voices=3 detune=9 width=0.4 gain=0.2 attack=0.01 decay=0.3 sustain=0.7 "
             "release=0.25 filter=lowpass cutoff=2600 resonance=0.2 envmod=2000 fdecay=0.25 vibrato=14 vrate=5.5 "
             "delay=0.3 reverb=0.3 duck=0.2");
  score.Line("instrument bell wave=triangle gain=0.2 attack=0.002 decay=0.9 sustain=0 release=0.5 delay=0.45 "
             "reverb=0.4");
  score.Blank();
}

// ---- parts, each over a range of bars ----

void Pads(ScoreText& score, int firstBar, int bars, const std::vector<Chord>& turn, double velocity) {
  for (int bar = 0; bar < bars; ++bar) {
    for (int tone : ChordOf(turn, bar).tones) score.Note(BarBeat(firstBar + bar), 4, "pad", tone, velocity);
  }
}

// Sixteenths up and down the chord, an octave above the pad.
void Arpeggio(ScoreText& score, int firstBar, int bars, const std::vector<Chord>& turn, double velocity) {
  static const int ORDER[8] = {0, 1, 2, 3, 2, 1, 3, 1};
  for (int bar = 0; bar < bars; ++bar) {
    const Chord& chord = ChordOf(turn, bar);
    for (int step = 0; step < 16; ++step) {
      int index = ORDER[step % 8];
      int pitch = index == 3 ? chord.tones[0] + 24 : chord.tones[index] + 12;
      double accent = step % 4 == 2 ? 1.0 : 0.75;
      score.Note(BarBeat(firstBar + bar) + step * 0.25, 0.25, "arp", pitch, velocity * accent);
    }
  }
}

void FourOnTheFloor(ScoreText& score, int firstBar, int bars, double velocity = 1.0) {
  for (int bar = firstBar; bar < firstBar + bars; ++bar) {
    for (int beat = 0; beat < BEATS_PER_BAR; ++beat) score.Note(BarBeat(bar) + beat, 0.5, "kick", 31, velocity);
  }
}

void Claps(ScoreText& score, int firstBar, int bars) {
  for (int bar = firstBar; bar < firstBar + bars; ++bar) {
    score.Note(BarBeat(bar) + 1, 0.5, "clap", 60);
    score.Note(BarBeat(bar) + 3, 0.5, "clap", 60);
  }
}

// Closed hats on the off-beats; with sixteenths, quieter ones between them.
void Hats(ScoreText& score, int firstBar, int bars, bool sixteenths, double velocity = 1.0) {
  for (int bar = firstBar; bar < firstBar + bars; ++bar) {
    for (int step = 0; step < 16; ++step) {
      bool offBeat = step % 4 == 2;
      if (!offBeat && !sixteenths) continue;
      if (!offBeat && step % 4 == 0) continue;  // the kick's place
      score.Note(BarBeat(bar) + step * 0.25, 0.25, "hat", 67, velocity * (offBeat ? 1.0 : 0.45));
    }
  }
}

void OpenHats(ScoreText& score, int firstBar, int bars) {
  for (int bar = firstBar; bar < firstBar + bars; ++bar) {
    for (int beat = 0; beat < BEATS_PER_BAR; ++beat) score.Note(BarBeat(bar) + beat + 0.5, 0.5, "openhat", 70);
  }
}

// The trance bass: the root on every off-beat eighth, with the sub an octave below.
void OffBeatBass(ScoreText& score, int firstBar, int bars, const std::vector<Chord>& turn) {
  for (int bar = 0; bar < bars; ++bar) {
    int root = ChordOf(turn, bar).root;
    for (int beat = 0; beat < BEATS_PER_BAR; ++beat) {
      double at = BarBeat(firstBar + bar) + beat + 0.5;
      score.Note(at, 0.45, "bass", root + 12);
      score.Note(at, 0.45, "sub", root);
    }
  }
}

// Three sixteenths after every kick, the middle one an octave up.
void RollingBass(ScoreText& score, int firstBar, int bars, const std::vector<Chord>& turn) {
  for (int bar = 0; bar < bars; ++bar) {
    int root = ChordOf(turn, bar).root;
    for (int beat = 0; beat < BEATS_PER_BAR; ++beat) {
      double at = BarBeat(firstBar + bar) + beat;
      score.Note(at + 0.25, 0.22, "bass", root + 12, 0.8);
      score.Note(at + 0.5, 0.22, "bass", root + 24);
      score.Note(at + 0.75, 0.22, "bass", root + 12, 0.8);
      score.Note(at + 0.5, 0.45, "sub", root);
    }
  }
}

void Melody(ScoreText& score, const std::vector<MelodyNote>& melody, double startBeat, double fromBeat, double toBeat,
            const char* instrument, int transpose, double velocity) {
  for (const MelodyNote& note : melody) {
    if (note.beat < fromBeat || note.beat >= toBeat) continue;
    score.Note(startBeat + note.beat - fromBeat, note.length, instrument, note.pitch + transpose, velocity);
  }
}

// A roll that speeds up over its bars, from eighths to sixteenths to thirty-seconds, getting louder.
void SnareRoll(ScoreText& score, int firstBar, int bars) {
  double start = BarBeat(firstBar);
  double length = BarBeat(bars);
  for (double at = 0.0; at < length - 1e-9;) {
    double progress = at / length;
    double step = progress < 0.5 ? 0.5 : progress < 0.85 ? 0.25 : 0.125;
    score.Note(start + at, step, "snare", 55, 0.35 + 0.65 * progress);
    at += step;
  }
}

void Riser(ScoreText& score, int firstBar, int bars) {
  double start = BarBeat(firstBar);
  double end = BarBeat(firstBar + bars);
  score.Note(start, end - start, "riser", 60);
  score.Line("automate riser cutoff %g:300 %g:9000", start, end);
}

void Hit(ScoreText& score, int bar) {
  score.Note(BarBeat(bar), 2, "crash", 72);
  score.Note(BarBeat(bar), 2, "impact", 24);
}

// ---- sections ----

void Intro(ScoreText& score, const Section& s) {
  Hit(score, s.firstBar);
  Pads(score, s.firstBar, s.bars, MAIN_TURN, 1.0);
  Arpeggio(score, s.firstBar + 2, s.bars - 2, MAIN_TURN, 0.8);
  for (int bar = s.firstBar + 4; bar < s.EndBar(); ++bar) score.Note(BarBeat(bar), 4, "sub", ChordOf(MAIN_TURN, bar).root, 0.6);
  Hats(score, s.EndBar() - 2, 2, false, 0.6);
  Riser(score, s.EndBar() - 2, 2);
  SnareRoll(score, s.EndBar() - 1, 1);
}

void Tunnel(ScoreText& score, const Section& s) {
  Hit(score, s.firstBar);
  Hit(score, s.firstBar + 8);
  int body = s.bars - 1;  // the last bar holds its breath: the roll alone
  FourOnTheFloor(score, s.firstBar, body);
  OffBeatBass(score, s.firstBar, body, MAIN_TURN);
  Hats(score, s.firstBar, 8, false);
  Hats(score, s.firstBar + 8, body - 8, true);
  Claps(score, s.firstBar + 4, body - 4);
  OpenHats(score, s.firstBar + 8, body - 8);
  Pads(score, s.firstBar, s.bars, MAIN_TURN, 0.7);
  Arpeggio(score, s.firstBar, s.bars, MAIN_TURN, 1.0);
  Riser(score, s.EndBar() - 4, 4);
  SnareRoll(score, s.EndBar() - 2, 2);
}

// A full drop: drums, rolling bass, pads, arpeggio and the lead's eight bars, doubled an octave up
// for the peak, then its first four again an octave up when the section is longer.
void Drop(ScoreText& score, const Section& s, bool octaveDoubled) {
  for (int bar = s.firstBar; bar < s.EndBar(); bar += 4) Hit(score, bar);
  FourOnTheFloor(score, s.firstBar, s.bars);
  Claps(score, s.firstBar, s.bars);
  Hats(score, s.firstBar, s.bars, true);
  OpenHats(score, s.firstBar, s.bars);
  RollingBass(score, s.firstBar, s.bars, MAIN_TURN);
  Pads(score, s.firstBar, s.bars, MAIN_TURN, 1.0);
  Arpeggio(score, s.firstBar, s.bars, MAIN_TURN, 0.7);
  Melody(score, LEAD_MOTIF, BarBeat(s.firstBar), 0, 32, "lead", 0, 1.0);
  if (octaveDoubled) Melody(score, LEAD_MOTIF, BarBeat(s.firstBar), 0, 32, "lead", 12, 0.6);
  if (s.bars > 8) Melody(score, LEAD_MOTIF, BarBeat(s.firstBar + 8), 0, BarBeat(s.bars - 8), "lead", 12, 0.85);
}

void City(ScoreText& score, const Section& s) {
  Hit(score, s.firstBar);
  for (int bar = s.firstBar; bar < s.EndBar(); ++bar) {
    // Half time: the kick on one and the and of two, the snare on three.
    score.Note(BarBeat(bar), 0.5, "kick", 31, 0.9);
    score.Note(BarBeat(bar) + 1.5, 0.5, "kick", 31, 0.7);
    score.Note(BarBeat(bar) + 2, 0.5, "snare", 55, 0.8);
    score.Note(BarBeat(bar) + 2, 0.5, "clap", 60, 0.5);
    score.Note(BarBeat(bar), 3.5, "bass", ChordOf(CITY_TURN, bar - s.firstBar).root + 12, 0.9);
    score.Note(BarBeat(bar), 3.5, "sub", ChordOf(CITY_TURN, bar - s.firstBar).root + 12, 0.8);
  }
  Hats(score, s.firstBar, s.bars, true, 0.7);
  Pads(score, s.firstBar, s.bars, CITY_TURN, 0.9);
  for (int bar = s.firstBar; bar < s.EndBar(); bar += 4) Melody(score, BELL_PHRASE, BarBeat(bar), 0, 16, "bell", 0, 1.0);
  Arpeggio(score, s.EndBar() - 4, 4, CITY_TURN, 0.8);
  Riser(score, s.EndBar() - 2, 2);
  SnareRoll(score, s.EndBar() - 1, 1);
}

void Breakdown(ScoreText& score, const Section& s) {
  Hit(score, s.firstBar);
  Pads(score, s.firstBar, s.bars, BREAKDOWN_TURN, 1.0);
  for (int bar = s.firstBar; bar < s.EndBar(); ++bar) score.Note(BarBeat(bar), 4, "sub", ChordOf(BREAKDOWN_TURN, bar).root + 12, 0.7);
  // Stutters: the lead's first note cut into thirty-seconds, as the picture breaks up.
  for (int bar : {s.firstBar + 2, s.firstBar + 4, s.firstBar + 5}) {
    for (int step = 0; step < 8; ++step) score.Note(BarBeat(bar) + step * 0.125, 0.1, "lead", 76 + (step % 2) * 12, 0.5 + step * 0.06);
  }
  Arpeggio(score, s.firstBar + 4, s.bars - 4, BREAKDOWN_TURN, 0.9);
  Hats(score, s.firstBar + 4, s.bars - 4, false, 0.7);
  FourOnTheFloor(score, s.EndBar() - 2, 1, 0.8);
  Riser(score, s.EndBar() - 2, 2);
  SnareRoll(score, s.EndBar() - 1, 1);
}

void Credits(ScoreText& score, const Section& s) {
  Hit(score, s.firstBar);
  FourOnTheFloor(score, s.firstBar, 2, 0.9);
  OffBeatBass(score, s.firstBar, 2, MAIN_TURN);
  Hats(score, s.firstBar, 4, false, 0.7);
  Pads(score, s.firstBar, 4, MAIN_TURN, 0.9);
  Arpeggio(score, s.firstBar, 4, MAIN_TURN, 0.7);
  // The last chord rings out under the fade.
  for (int tone : A_MINOR.tones) score.Note(BarBeat(s.firstBar + 4), 7, "pad", tone);
  score.Note(BarBeat(s.firstBar + 4), 6, "sub", A_MINOR.root, 0.6);
  Melody(score, BELL_PHRASE, BarBeat(s.firstBar + 4), 0, 8, "bell", 0, 0.9);
}

// Filter and level curves over the whole piece: openings for builds, closings for breaks.
void Automation(ScoreText& score) {
  auto bar = [](SectionId id, int offset) { return BarBeat(SectionOf(id).firstBar + offset); };
  score.Line("automate pad cutoff 0:300 %g:2400 %g:1600 %g:900 %g:2200 %g:2000 %g:350 %g:3200 %g:2200 %g:600", bar(SectionId::Tunnel, 0),
             bar(SectionId::Tunnel, 8), bar(SectionId::City, 0), bar(SectionId::Swarm, 0), bar(SectionId::Breakdown, 0),
             bar(SectionId::Breakdown, 4), bar(SectionId::Finale, 0), bar(SectionId::Credits, 0), bar(SectionId::Credits, 6));
  score.Line("automate arp cutoff %g:300 %g:1200 %g:4200 %g:1800 %g:900 %g:2600 %g:2600 %g:500 %g:3000 %g:1200", bar(SectionId::Intro, 2),
             bar(SectionId::Tunnel, 0), bar(SectionId::Knot, 0) - 0.01, bar(SectionId::Knot, 0), bar(SectionId::City, 8),
             bar(SectionId::Swarm, 0), bar(SectionId::Breakdown, 0), bar(SectionId::Breakdown, 4), bar(SectionId::Finale, 0),
             bar(SectionId::Credits, 6));
  score.Line("automate lead cutoff %g:3000 %g:4500 %g:2500 %g:5000", bar(SectionId::Knot, 0), bar(SectionId::Swarm, 0),
             bar(SectionId::Breakdown, 0), bar(SectionId::Finale, 0));
  score.Line("automate bass cutoff %g:350 %g:520 %g:260 %g:520", bar(SectionId::Tunnel, 0), bar(SectionId::Knot, 0),
             bar(SectionId::City, 0), bar(SectionId::Swarm, 0));
  score.Line("automate pad gain 0:0.3 %g:1 %g:1 %g:0.8", bar(SectionId::Intro, 4), bar(SectionId::Credits, 4),
             bar(SectionId::Credits, 6));
  score.Line("automate master gain %g:1 %g:0", bar(SectionId::Credits, 3), bar(SectionId::Credits, 6));
}

}  // namespace

std::string ComposeShowcaseScore() {
  ScoreText score;
  score.Line("# The showcase's music, written by content/showcase/generators/score_composer.cpp from the");
  score.Line("# shared timeline: %d bars at %g beats per minute, A minor.", ShowcaseBars(), SHOWCASE_TEMPO);
  WriteInstruments(score);
  for (const Section& section : ShowcaseSections()) {
    score.Blank();
    score.Line("# %s: bars %d to %d", section.name, section.firstBar, section.EndBar());
    switch (section.id) {
      case SectionId::Intro: Intro(score, section); break;
      case SectionId::Tunnel: Tunnel(score, section); break;
      case SectionId::Knot: Drop(score, section, false); break;
      case SectionId::City: City(score, section); break;
      case SectionId::Swarm: Drop(score, section, true); break;
      case SectionId::Breakdown: Breakdown(score, section); break;
      case SectionId::Finale: Drop(score, section, true); break;
      case SectionId::Credits: Credits(score, section); break;
    }
  }
  score.Blank();
  score.Line("# automation");
  Automation(score);
  return score.Text();
}
