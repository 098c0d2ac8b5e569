#pragma once
// The landscape of the city section, shared by its model, its colour texture and its camera
// paths: a flat basin for the city ringed by ridged mountains, and the city's blocks on a street
// grid inside the basin.

#include <vector>

#include "content/showcase/generators/vec3.h"

inline constexpr double LANDSCAPE_HALF_SIZE = 80.0;  // the terrain spans ±this in x and z
inline constexpr double BASIN_RADIUS = 34.0;         // flat ground inside, mountains outside

// Ground height at (x, z).
double TerrainHeight(double x, double z);

struct CityBlock {
  Vec3 low, high;    // the box
  int tier;          // 0 the block, 1 a set-back storey on top, 2 a mast
};

// Every box of the city, in street-grid order.
const std::vector<CityBlock>& CityBlocks();
