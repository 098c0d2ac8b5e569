#pragma once
// The showcase's one description of time: the tempo and the sections in bars. The music's score
// and every scene animation and definition are written from it, so cuts, camera moves and flashes
// land on the music's beats and bars.

#include <cstdint>
#include <string>
#include <vector>

inline constexpr double SHOWCASE_TEMPO = 125.0;  // beats per minute: one beat is 480 ms exactly
inline constexpr int BEATS_PER_BAR = 4;

enum class SectionId { Intro, Tunnel, Knot, City, Swarm, Breakdown, Finale, Credits };

struct Section {
  SectionId id;
  const char* name;
  int firstBar;
  int bars;
  int EndBar() const { return firstBar + bars; }
};

// In playing order, each starting where the one before ends.
const std::vector<Section>& ShowcaseSections();
const Section& SectionOf(SectionId id);

// The music's length in bars: the last section's end.
int ShowcaseBars();

double BeatSeconds();
// Demo time in milliseconds of a beat counted from the start (whole: every beat is 480 ms).
uint32_t BeatMs(double beat);
uint32_t BarMs(double bar);
