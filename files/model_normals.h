#pragma once
// Normals of a model object read from the cache: face normals, smooth vertex normals, the
// split that gives every face its own vertices, and the facet rule that flattens corners whose
// smooth normal leans too far from the face. Face indices must already be in range.

#include "files/model_data.h"

// Degrees to radians as the facet rule uses it: 3.141592 / 180 in single precision.
inline constexpr float FACET_DEGREES_TO_RADIANS = 0.017453288659453392f;

// Unit normal of (P0 - P2) x (P1 - P2) for each face that is not a line; lines and degenerate
// faces get (0, 0, 0).
void ComputeFaceNormals(ModelObject& object);

// Sum of the normals of the faces that use each vertex (first three corners), made unit length.
void ComputeVertexNormals(ModelObject& object);

// Gives each later face that uses an already used vertex a copy of it, appended in the order of
// the vertex copied, then of the faces reusing it; afterwards no vertex is shared by two faces.
void SplitSharedVertices(ModelObject& object);

// Replaces a corner's normal by its face normal when they differ by the facet angle or more.
void ApplyFacet(ModelObject& object);

// All four steps in order, as the cache reader runs them on each object.
void ComputeNormalsAndSplit(ModelObject& object);
