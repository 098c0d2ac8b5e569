#include "render/matrix_stack.h"

#include <GL/glew.h>

#include <cmath>

#include "render/drawing_path.h"
#include "render/matrix_stack_paths.h"

namespace {

// The matrices GL's own functions multiply by, for the WebGL 2 path, computed as Mesa and its GLU
// compute them (in float where they do, in the same order): a depth turned back into a distance
// (fog) magnifies a last-bit difference of the projection into a visible one.
constexpr double PI = 3.14159265358979323846;

void MultiplyColumns(float c00, float c01, float c02, float c03, float c10, float c11, float c12, float c13, float c20,
                     float c21, float c22, float c23, float c30, float c31, float c32, float c33) {
  const float m[16] = {c00, c01, c02, c03, c10, c11, c12, c13, c20, c21, c22, c23, c30, c31, c32, c33};
  webgl::MultiplyMatrix(m);
}

void WebGlTranslate(float x, float y, float z) { MultiplyColumns(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1); }

void WebGlRotate(float degrees, float x, float y, float z) {
  const float radians = static_cast<float>(degrees * PI / 180.0);
  const float s = std::sin(radians);
  const float c = std::cos(radians);
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  // m[column * 4 + row]; a rotation about one axis is placed exactly.
  if (x == 0.0f && y == 0.0f && z != 0.0f) {
    m[0] = m[5] = c;
    m[4] = z < 0.0f ? s : -s;
    m[1] = -m[4];
  } else if (x == 0.0f && z == 0.0f && y != 0.0f) {
    m[0] = m[10] = c;
    m[8] = y < 0.0f ? -s : s;
    m[2] = -m[8];
  } else if (y == 0.0f && z == 0.0f && x != 0.0f) {
    m[5] = m[10] = c;
    m[9] = x < 0.0f ? s : -s;
    m[6] = -m[9];
  } else {
    const float magnitude = std::sqrt(x * x + y * y + z * z);
    if (magnitude <= 1.0e-4f) return;
    x /= magnitude;
    y /= magnitude;
    z /= magnitude;
    const float oneMinusC = 1.0f - c;
    m[0] = (oneMinusC * (x * x)) + c;
    m[4] = (oneMinusC * (x * y)) - z * s;
    m[8] = (oneMinusC * (z * x)) + y * s;
    m[1] = (oneMinusC * (x * y)) + z * s;
    m[5] = (oneMinusC * (y * y)) + c;
    m[9] = (oneMinusC * (y * z)) - x * s;
    m[2] = (oneMinusC * (z * x)) - y * s;
    m[6] = (oneMinusC * (y * z)) + x * s;
    m[10] = (oneMinusC * (z * z)) + c;
  }
  webgl::MultiplyMatrix(m);
}

void WebGlOrtho(float l, float r, float b, float t, float n, float f) {
  MultiplyColumns(2.0f / (r - l), 0, 0, 0, 0, 2.0f / (t - b), 0, 0, 0, 0, -2.0f / (f - n), 0, -(r + l) / (r - l),
                  -(t + b) / (t - b), -(f + n) / (f - n), 1);
}

void WebGlFrustum(float l, float r, float b, float t, float n, float f) {
  MultiplyColumns((2.0f * n) / (r - l), 0, 0, 0, 0, (2.0f * n) / (t - b), 0, 0, (r + l) / (r - l), (t + b) / (t - b),
                  -(f + n) / (f - n), -1, 0, 0, -(2.0f * f * n) / (f - n), 0);
}

// In double, handed over as floats.
void WebGlPerspective(double fovYDegrees, double aspect, double n, double f) {
  const double radians = fovYDegrees / 2 * PI / 180;
  const double sine = std::sin(radians);
  const double depth = f - n;
  if (depth == 0 || sine == 0 || aspect == 0) return;
  const double cotangent = std::cos(radians) / sine;
  MultiplyColumns(static_cast<float>(cotangent / aspect), 0, 0, 0, 0, static_cast<float>(cotangent), 0, 0, 0, 0,
                  static_cast<float>(-(f + n) / depth), -1, 0, 0, static_cast<float>(-2 * n * f / depth), 0);
}

void Normalise(float* v) {
  const float length = static_cast<float>(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
  if (length == 0.0f) return;
  for (int i = 0; i < 3; ++i) v[i] /= length;
}

void Cross(const float* a, const float* b, float* out) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

void WebGlLookAt(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ, double upX,
                 double upY, double upZ) {
  float forward[3] = {static_cast<float>(centreX - eyeX), static_cast<float>(centreY - eyeY),
                      static_cast<float>(centreZ - eyeZ)};
  float up[3] = {static_cast<float>(upX), static_cast<float>(upY), static_cast<float>(upZ)};
  Normalise(forward);
  float side[3];
  Cross(forward, up, side);
  Normalise(side);
  Cross(side, forward, up);
  MultiplyColumns(side[0], up[0], -forward[0], 0, side[1], up[1], -forward[1], 0, side[2], up[2], -forward[2], 0, 0, 0,
                  0, 1);
  WebGlTranslate(static_cast<float>(-eyeX), static_cast<float>(-eyeY), static_cast<float>(-eyeZ));
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
                   WebGlOrtho(static_cast<float>(left), static_cast<float>(right), static_cast<float>(bottom),
                              static_cast<float>(top), static_cast<float>(nearPlane), static_cast<float>(farPlane)));
}

void MultiplyFrustum(double left, double right, double bottom, double top, double nearPlane, double farPlane) {
  TORVANE_MULTIPLY(MultiplyFrustum(left, right, bottom, top, nearPlane, farPlane),
                   WebGlFrustum(static_cast<float>(left), static_cast<float>(right), static_cast<float>(bottom),
                                static_cast<float>(top), static_cast<float>(nearPlane), static_cast<float>(farPlane)));
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
