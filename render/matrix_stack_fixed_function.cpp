#include <GL/glew.h>
#include <GL/glu.h>

#include "render/matrix_stack_paths.h"

namespace fixed_function {

void SelectMatrixStack(MatrixStack stack) { glMatrixMode(MatrixStackMode(stack)); }

void PushMatrix() { glPushMatrix(); }

void PopMatrix() { glPopMatrix(); }

void LoadIdentityMatrix() { glLoadIdentity(); }

void TranslateMatrix(float x, float y, float z) { glTranslatef(x, y, z); }

void RotateMatrix(float degrees, float x, float y, float z) { glRotatef(degrees, x, y, z); }

void ScaleMatrix(float x, float y, float z) { glScalef(x, y, z); }

void MultiplyOrtho(double left, double right, double bottom, double top, double nearPlane, double farPlane) {
  glOrtho(left, right, bottom, top, nearPlane, farPlane);
}

void MultiplyFrustum(double left, double right, double bottom, double top, double nearPlane, double farPlane) {
  glFrustum(left, right, bottom, top, nearPlane, farPlane);
}

void MultiplyPerspective(double fovYDegrees, double aspect, double nearPlane, double farPlane) {
  gluPerspective(fovYDegrees, aspect, nearPlane, farPlane);
}

void MultiplyLookAt(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ, double upX,
                    double upY, double upZ) {
  gluLookAt(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ);
}

int ModelviewStackRoom() {
  GLint depth = 0, maxDepth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &maxDepth);
  return maxDepth - depth;
}

}  // namespace fixed_function
