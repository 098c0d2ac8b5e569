#pragma once
// The timeline drawn in the developer mode: the transport's buttons, the ten scene lines with each
// entry's span, name and cuts, the post-effect entries' spans, the loop region and the playhead.
// A click or a drag on it seeks.

#include <cstdint>

#include "dev/timeline_snapshot.h"
#include "dev/transport.h"

// The demo time under x on a track from left, width pixels wide, showing length ms (clamped to it).
uint32_t TimelineTimeAt(float x, float left, float width, uint32_t length);
// Where t lies on that track.
float TimelineXOf(uint32_t t, float left, float width, uint32_t length);

void DrawTimelinePanel(Transport& transport, const TimelineSnapshot& timeline);
