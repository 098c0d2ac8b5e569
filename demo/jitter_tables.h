#pragma once
// Sub-pixel offsets for supersampling: one jittered render per sample, averaged afterwards.

#include <span>

struct JitterPoint {
  double x;
  double y;
};

// The offset table for an FSAA level: the published 2-, 3-, 4- and 8-sample tables of the OpenGL
// Programming Guide, 16 samples as the centre followed by its 15-sample table, and a single
// (0, 0) for level 0 or any level without a table.
std::span<const JitterPoint> JitterTableForLevel(int fsaaLevel);
