#include "content/showcase/generators/timeline.h"

#include <cmath>

const std::vector<Section>& ShowcaseSections() {
  static const std::vector<Section> SECTIONS = {
      {SectionId::Intro, "intro", 0, 8},       {SectionId::Tunnel, "tunnel", 8, 16},
      {SectionId::Knot, "knot", 24, 12},       {SectionId::City, "city", 36, 12},
      {SectionId::Swarm, "swarm", 48, 12},     {SectionId::Breakdown, "breakdown", 60, 8},
      {SectionId::Finale, "finale", 68, 8},    {SectionId::Credits, "credits", 76, 6},
  };
  return SECTIONS;
}

const Section& SectionOf(SectionId id) {
  for (const Section& section : ShowcaseSections()) {
    if (section.id == id) return section;
  }
  return ShowcaseSections().front();
}

int ShowcaseBars() { return ShowcaseSections().back().EndBar(); }

double BeatSeconds() { return 60.0 / SHOWCASE_TEMPO; }

uint32_t BeatMs(double beat) { return static_cast<uint32_t>(std::lround(beat * BeatSeconds() * 1000.0)); }

uint32_t BarMs(double bar) { return BeatMs(bar * BEATS_PER_BAR); }
