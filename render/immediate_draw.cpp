#include "render/immediate_draw.h"

#include <GL/glew.h>

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

void DrawTexturedLitVertices(const float* vertices, size_t count, Primitive primitive) {
  glInterleavedArrays(GL_T2F_N3F_V3F, 0, vertices);
  glDrawArrays(ModeOf(primitive), 0, static_cast<GLsizei>(count));
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

void DrawTexturedStrip(const float (&strip)[4][5]) {
  glInterleavedArrays(GL_T2F_V3F, 0, strip);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

void DrawPositionStrip(const float (&strip)[4][3]) {
  glInterleavedArrays(GL_V3F, 0, strip);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  glDisableClientState(GL_VERTEX_ARRAY);
}

void DrawTriangleArrays(const float* positions, const float* normals, const float* uvs, size_t count) {
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, positions);
  glNormalPointer(GL_FLOAT, 0, normals);
  glTexCoordPointer(2, GL_FLOAT, 0, uvs);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(count));
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void SetColour(float red, float green, float blue, float alpha) { glColor4f(red, green, blue, alpha); }

void SetDepthTest(bool enabled) {
  if (enabled) {
    glEnable(GL_DEPTH_TEST);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
}
