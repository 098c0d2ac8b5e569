#include "render/polygon_edges.h"

namespace render {

std::vector<uint32_t> TriangleEdges(Primitive primitive, size_t count) {
  std::vector<uint32_t> edges;
  if (count < 3) return edges;
  const size_t triangles = primitive == Primitive::Triangles ? count / 3 : count - 2;
  edges.reserve(triangles * 6);
  for (size_t t = 0; t < triangles; ++t) {
    uint32_t a = 0, b = 0, c = 0;
    switch (primitive) {
      case Primitive::Triangles:
        a = static_cast<uint32_t>(3 * t);
        b = a + 1;
        c = a + 2;
        break;
      case Primitive::TriangleStrip:
        a = static_cast<uint32_t>(t);
        b = a + 1;
        c = a + 2;
        break;
      case Primitive::TriangleFan:
        b = static_cast<uint32_t>(t + 1);
        c = b + 1;
        break;
    }
    edges.insert(edges.end(), {a, b, b, c, c, a});
  }
  return edges;
}

}  // namespace render
