#pragma once
// Normals of a model object read from the cache: face normals, smooth vertex normals, the
// split that gives every face its own vertices, and the facet rule that flattens corners whose
// smooth normal leans too far from the face. Face indices must already be in range.

#include "files/model_data.h"

// Degrees to radians as the facet rule uses it: 3.141592 / 180 in single precision.
inline constexpr float FACET_DEGREES_TO_RADIANS = 0.017453288659453392f;

// Computes, in order: each face's unit normal of (P0 - P2) x (P1 - P2) (zero for lines and
// degenerate faces); smooth vertex normals, the unit sum of the normals of the faces using each
// vertex; the split, which gives each later face that uses an already used vertex a copy of it,
// appended in the order of the vertex copied and then of the faces reusing it, so that no vertex
// is shared; and the facet rule, which replaces a corner's normal by its face normal when they
// differ by the facet angle or more.
void ComputeNormalsAndSplit(ModelObject& object);
