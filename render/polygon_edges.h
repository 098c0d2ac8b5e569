#pragma once
// The edges of the triangles a triangle list, strip or fan of count vertices makes, as pairs of
// vertex indices: what a line polygon mode draws, for the WebGL 2 path, which has no polygon
// modes. Pure.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/immediate_draw.h"

namespace render {

std::vector<uint32_t> TriangleEdges(Primitive primitive, size_t count);

}  // namespace render
