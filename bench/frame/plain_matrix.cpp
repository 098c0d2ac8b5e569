#include "bench/frame/plain_matrix.h"

#include <cmath>

namespace {

constexpr double PI = 3.14159265358979323846;

std::array<double, 3> Normalized(const std::array<double, 3>& v) {
  double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length == 0.0) return v;
  return {v[0] / length, v[1] / length, v[2] / length};
}

std::array<double, 3> Cross(const std::array<double, 3>& a, const std::array<double, 3>& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

}  // namespace

Mat4 Identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Mat4 Multiply(const Mat4& a, const Mat4& b) {
  Mat4 out{};
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[column * 4 + k];
      out[column * 4 + row] = sum;
    }
  }
  return out;
}

Mat4 Frustum(double l, double r, double b, double t, double n, double f) {
  Mat4 m{};
  m[0] = static_cast<float>(2 * n / (r - l));
  m[5] = static_cast<float>(2 * n / (t - b));
  m[8] = static_cast<float>((r + l) / (r - l));
  m[9] = static_cast<float>((t + b) / (t - b));
  m[10] = static_cast<float>(-(f + n) / (f - n));
  m[11] = -1.0f;
  m[14] = static_cast<float>(-2 * f * n / (f - n));
  return m;
}

Mat4 Ortho(double l, double r, double b, double t, double n, double f) {
  Mat4 m = Identity();
  m[0] = static_cast<float>(2 / (r - l));
  m[5] = static_cast<float>(2 / (t - b));
  m[10] = static_cast<float>(-2 / (f - n));
  m[12] = static_cast<float>(-(r + l) / (r - l));
  m[13] = static_cast<float>(-(t + b) / (t - b));
  m[14] = static_cast<float>(-(f + n) / (f - n));
  return m;
}

Mat4 LookAt(const std::array<double, 3>& eye, const std::array<double, 3>& target, const std::array<double, 3>& up) {
  std::array<double, 3> forward = Normalized({target[0] - eye[0], target[1] - eye[1], target[2] - eye[2]});
  std::array<double, 3> side = Normalized(Cross(forward, up));
  std::array<double, 3> upright = Cross(side, forward);
  Mat4 m = Identity();
  for (int i = 0; i < 3; ++i) {
    m[i * 4 + 0] = static_cast<float>(side[i]);
    m[i * 4 + 1] = static_cast<float>(upright[i]);
    m[i * 4 + 2] = static_cast<float>(-forward[i]);
  }
  return Multiply(m, Translate(static_cast<float>(-eye[0]), static_cast<float>(-eye[1]), static_cast<float>(-eye[2])));
}

Mat4 Translate(float x, float y, float z) {
  Mat4 m = Identity();
  m[12] = x;
  m[13] = y;
  m[14] = z;
  return m;
}

Mat4 Rotate(float degrees, float x, float y, float z) {
  double radians = degrees * PI / 180.0;
  double c = std::cos(radians);
  double s = std::sin(radians);
  std::array<double, 3> a = Normalized({x, y, z});
  Mat4 m = Identity();
  m[0] = static_cast<float>(a[0] * a[0] * (1 - c) + c);
  m[1] = static_cast<float>(a[1] * a[0] * (1 - c) + a[2] * s);
  m[2] = static_cast<float>(a[0] * a[2] * (1 - c) - a[1] * s);
  m[4] = static_cast<float>(a[0] * a[1] * (1 - c) - a[2] * s);
  m[5] = static_cast<float>(a[1] * a[1] * (1 - c) + c);
  m[6] = static_cast<float>(a[1] * a[2] * (1 - c) + a[0] * s);
  m[8] = static_cast<float>(a[0] * a[2] * (1 - c) + a[1] * s);
  m[9] = static_cast<float>(a[1] * a[2] * (1 - c) - a[0] * s);
  m[10] = static_cast<float>(a[2] * a[2] * (1 - c) + c);
  return m;
}

Mat4 Scale(float x, float y, float z) {
  Mat4 m = Identity();
  m[0] = x;
  m[5] = y;
  m[10] = z;
  return m;
}
