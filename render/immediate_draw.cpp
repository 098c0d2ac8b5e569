#include "render/immediate_draw.h"

#include <vector>

#include "render/drawing_path.h"
#include "render/immediate_draw_paths.h"

namespace {

GLenum ModeOf(Primitive primitive) {
  switch (primitive) {
    case Primitive::Triangles: return GL_TRIANGLES;
    case Primitive::TriangleFan: return GL_TRIANGLE_FAN;
    case Primitive::TriangleStrip: return GL_TRIANGLE_STRIP;
  }
  return GL_TRIANGLES;
}

}  // namespace

// The WebGL 2 path takes every layout as GL_T2F_N3F_V3F.
namespace webgl {

namespace {

void DrawTexturedLitVertices(const float* vertices, size_t count, GLenum mode) {
  DrawVertices(mode, vertices, count, {});
}

void DrawTexturedStrip(const float (&strip)[4][5]) {
  float vertices[4][FLOATS_PER_VERTEX] = {};
  for (int i = 0; i < 4; ++i) {
    vertices[i][0] = strip[i][0];
    vertices[i][1] = strip[i][1];
    for (int c = 0; c < 3; ++c) vertices[i][5 + c] = strip[i][2 + c];
  }
  DrawVertices(GL_TRIANGLE_STRIP, &vertices[0][0], 4, {false, true});
}

void DrawPositionStrip(const float (&strip)[4][3]) {
  float vertices[4][FLOATS_PER_VERTEX] = {};
  for (int i = 0; i < 4; ++i) {
    for (int c = 0; c < 3; ++c) vertices[i][5 + c] = strip[i][c];
  }
  DrawVertices(GL_TRIANGLE_STRIP, &vertices[0][0], 4, {false, false});
}

void DrawTriangleArrays(const float* positions, const float* normals, const float* uvs, size_t count) {
  std::vector<float> vertices(count * FLOATS_PER_VERTEX);
  for (size_t i = 0; i < count; ++i) {
    float* vertex = &vertices[i * FLOATS_PER_VERTEX];
    vertex[0] = uvs[i * 2];
    vertex[1] = uvs[i * 2 + 1];
    for (int c = 0; c < 3; ++c) {
      vertex[2 + c] = normals[i * 3 + c];
      vertex[5 + c] = positions[i * 3 + c];
    }
  }
  DrawVertices(GL_TRIANGLES, vertices.data(), count, {});
}

}  // namespace

}  // namespace webgl

void DrawTexturedLitVertices(const float* vertices, size_t count, Primitive primitive) {
  TORVANE_ON_DRAWING_PATH(DrawTexturedLitVertices(vertices, count, ModeOf(primitive)));
}

void DrawTexturedStrip(const float (&strip)[4][5]) { TORVANE_ON_DRAWING_PATH(DrawTexturedStrip(strip)); }

void DrawPositionStrip(const float (&strip)[4][3]) { TORVANE_ON_DRAWING_PATH(DrawPositionStrip(strip)); }

void DrawTriangleArrays(const float* positions, const float* normals, const float* uvs, size_t count) {
  TORVANE_ON_DRAWING_PATH(DrawTriangleArrays(positions, normals, uvs, count));
}

void SetColour(float red, float green, float blue, float alpha) {
  TORVANE_ON_DRAWING_PATH(SetColour(red, green, blue, alpha));
}

void SetTexturing(bool enabled) { TORVANE_ON_DRAWING_PATH(SetTexturing(enabled)); }

void SetAlphaTest(bool enabled, unsigned compareFunction, float reference) {
  TORVANE_ON_DRAWING_PATH(SetAlphaTest(enabled, compareFunction, reference));
}

void SetDepthTest(bool enabled) {
  if (enabled) {
    glEnable(GL_DEPTH_TEST);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
}
