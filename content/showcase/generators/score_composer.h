#pragma once
// The showcase's music, composed in code over the shared timeline and written as a score for
// `torvane-tool synth`: A minor at the timeline's tempo, an instrument line-up of synthesised drums,
// bass, pads, arpeggio, lead and effects, section by section.

#include <string>

// The whole score text.
std::string ComposeShowcaseScore();
