#include "render/matrix_stack.h"

#include <GL/glew.h>

#include <cmath>

#include "render/drawing_path.h"
#include "render/matrix_stack_paths.h"

namespace {

constexpr double PI = 3.14159265358979323846;

// The matrices GL's own functions multiply by, for the WebGL 2 path (columns, as GL keeps them).
void MultiplyColumns(double c00, double c01, double c02, double c03, double c10, double c11, double c12, double c13,
                     double c20, double c21, double c22, double c23, double c30, double c31, double c32, double c33) {
  const double m[16] = {c00, c01, c02, c03, c10, c11, c12, c13, c20, c21, c22, c23, c30, c31, c32, c33};
  webgl::MultiplyMatrix(m);
}

void WebGlTranslate(double x, double y, double z) { MultiplyColumns(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1); }

void WebGlRotate(double degrees, double x, double y, double z) {
  const double length = std::sqrt(x * x + y * y + z * z);
  if (length == 0) return;
  x /= length;
  y /= length;
  z /= length;
  const double c = std::cos(degrees * PI / 180);
  const double s = std::sin(degrees * PI / 180);
  const double t = 1 - c;
  MultiplyColumns(x * x * t + c, y * x * t + z * s, x * z * t - y * s, 0,  //
                  x * y * t - z * s, y * y * t + c, y * z * t + x * s, 0,  //
                  x * z * t + y * s, y * z * t - x * s, z * z * t + c, 0,  //
                  0, 0, 0, 1);
}

void WebGlOrtho(double l, double r, double b, double t, double n, double f) {
  MultiplyColumns(2 / (r - l), 0, 0, 0, 0, 2 / (t - b), 0, 0, 0, 0, -2 / (f - n), 0, -(r + l) / (r - l),
                  -(t + b) / (t - b), -(f + n) / (f - n), 1);
}

void WebGlFrustum(double l, double r, double b, double t, double n, double f) {
  MultiplyColumns(2 * n / (r - l), 0, 0, 0, 0, 2 * n / (t - b), 0, 0, (r + l) / (r - l), (t + b) / (t - b),
                  -(f + n) / (f - n), -1, 0, 0, -2 * f * n / (f - n), 0);
}

void WebGlPerspective(double fovYDegrees, double aspect, double n, double f) {
  const double radians = fovYDegrees / 2 * PI / 180;
  const double sine = std::sin(radians);
  if (f == n || sine == 0 || aspect == 0) return;
  const double cotangent = std::cos(radians) / sine;
  MultiplyColumns(cotangent / aspect, 0, 0, 0, 0, cotangent, 0, 0, 0, 0, -(f + n) / (f - n), -1, 0, 0,
                  -2 * n * f / (f - n), 0);
}

void Normalise(double* v) {
  const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length == 0) return;
  for (int i = 0; i < 3; ++i) v[i] /= length;
}

void Cross(const double* a, const double* b, double* out) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

void WebGlLookAt(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ, double upX,
                 double upY, double upZ) {
  double forward[3] = {centreX - eyeX, centreY - eyeY, centreZ - eyeZ};
  const double upGiven[3] = {upX, upY, upZ};
  Normalise(forward);
  double side[3];
  Cross(forward, upGiven, side);
  Normalise(side);
  double up[3];
  Cross(side, forward, up);
  MultiplyColumns(side[0], up[0], -forward[0], 0, side[1], up[1], -forward[1], 0, side[2], up[2], -forward[2], 0, 0, 0,
                  0, 1);
  WebGlTranslate(-eyeX, -eyeY, -eyeZ);
}

}  // namespace

unsigned MatrixStackMode(MatrixStack stack) { return stack == MatrixStack::Projection ? GL_PROJECTION : GL_MODELVIEW; }

MatrixStack MatrixStackOfMode(unsigned mode) {
  return mode == GL_PROJECTION ? MatrixStack::Projection : MatrixStack::Modelview;
}

void SelectMatrixStack(MatrixStack stack) { TORVANE_ON_DRAWING_PATH(SelectMatrixStack(stack)); }

void PushMatrix() { TORVANE_ON_DRAWING_PATH(PushMatrix()); }

void PopMatrix() { TORVANE_ON_DRAWING_PATH(PopMatrix()); }

void LoadIdentityMatrix() { TORVANE_ON_DRAWING_PATH(LoadIdentityMatrix()); }

int ModelviewStackRoom() { return TORVANE_ON_DRAWING_PATH(ModelviewStackRoom()); }

#ifdef TORVANE_WEBGL
#define TORVANE_MULTIPLY(FIXED, WEBGL) WEBGL
#else
#define TORVANE_MULTIPLY(FIXED, WEBGL) (render::OnWebGl2Path() ? WEBGL : fixed_function::FIXED)
#endif

void TranslateMatrix(float x, float y, float z) { TORVANE_MULTIPLY(TranslateMatrix(x, y, z), WebGlTranslate(x, y, z)); }

void RotateMatrix(float degrees, float x, float y, float z) {
  TORVANE_MULTIPLY(RotateMatrix(degrees, x, y, z), WebGlRotate(degrees, x, y, z));
}

void ScaleMatrix(float x, float y, float z) {
  TORVANE_MULTIPLY(ScaleMatrix(x, y, z), MultiplyColumns(x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1));
}

void MultiplyOrtho(double left, double right, double bottom, double top, double nearPlane, double farPlane) {
  TORVANE_MULTIPLY(MultiplyOrtho(left, right, bottom, top, nearPlane, farPlane),
                   WebGlOrtho(left, right, bottom, top, nearPlane, farPlane));
}

void MultiplyFrustum(double left, double right, double bottom, double top, double nearPlane, double farPlane) {
  TORVANE_MULTIPLY(MultiplyFrustum(left, right, bottom, top, nearPlane, farPlane),
                   WebGlFrustum(left, right, bottom, top, nearPlane, farPlane));
}

void MultiplyPerspective(double fovYDegrees, double aspect, double nearPlane, double farPlane) {
  TORVANE_MULTIPLY(MultiplyPerspective(fovYDegrees, aspect, nearPlane, farPlane),
                   WebGlPerspective(fovYDegrees, aspect, nearPlane, farPlane));
}

void MultiplyLookAt(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ, double upX,
                    double upY, double upZ) {
  TORVANE_MULTIPLY(MultiplyLookAt(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ),
                   WebGlLookAt(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ));
}
