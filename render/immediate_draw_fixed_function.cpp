#include "render/immediate_draw_paths.h"

namespace fixed_function {

void DrawTexturedLitVertices(const float* vertices, size_t count, GLenum mode) {
  glInterleavedArrays(GL_T2F_N3F_V3F, 0, vertices);
  glDrawArrays(mode, 0, static_cast<GLsizei>(count));
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

void SetTexturing(bool enabled) {
  if (enabled) {
    glEnable(GL_TEXTURE_2D);
  } else {
    glDisable(GL_TEXTURE_2D);
  }
}

void SetUnlitState() {
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
  glDisable(GL_LIGHTING);
  glEnable(GL_COLOR_MATERIAL);
}

void SetModulatingTextures() { glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE); }

void SetAlphaTest(bool enabled, GLenum compareFunction, float reference) {
  if (!enabled) {
    glDisable(GL_ALPHA_TEST);
    return;
  }
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(compareFunction, reference);
}

}  // namespace fixed_function
