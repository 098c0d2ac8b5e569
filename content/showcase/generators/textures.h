#pragma once
// The showcase's procedural pictures. Colours are stored gamma-encoded (sRGB-like); the effects
// turn them linear before lighting.

#include "content/showcase/generators/image_writers.h"

class FontRasterizer;

// The word TORVANE across 1024 x 256: white, the glyphs' coverage in alpha.
Rgba8Image TitlePicture(FontRasterizer& bold);
// One facade tile of 8 x 8 windows: concrete, dark glass, and lit windows with alpha 255 (unlit 0
// in alpha, the effect's emission mask).
Rgba8Image WindowsPicture();
// A steel plate with hexagonal holes; the holes are transparent (alpha 0).
Rgba8Image LatticePicture();
// The landscape's colour seen from above, matching TerrainHeight: row 0 at z = -80, column 0 at
// x = -80.
Rgba8Image TerrainPicture(int side);
// Four channels of independent white noise, for film grain and glitches.
Rgba8Image GrainPicture();
// Brushed steel.
Rgba8Image MetalPicture();
// Plain white, for materials without a texture.
Rgba8Image WhitePicture(int side);
