#include "files/gltf_math.h"

#include <algorithm>
#include <cmath>

GltfVec3 Add(const GltfVec3& a, const GltfVec3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
GltfVec3 Subtract(const GltfVec3& a, const GltfVec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
GltfVec3 Scaled(const GltfVec3& a, double s) { return {a[0] * s, a[1] * s, a[2] * s}; }
double Dot(const GltfVec3& a, const GltfVec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
GltfVec3 Cross(const GltfVec3& a, const GltfVec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Length(const GltfVec3& a) { return std::sqrt(Dot(a, a)); }
GltfVec3 Normalized(const GltfVec3& a) {
  double length = Length(a);
  return length > 0 ? Scaled(a, 1 / length) : GltfVec3{0, 0, 0};
}

GltfQuat NormalizedQuat(const GltfQuat& q) {
  double length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
  if (!(length > 0) || !std::isfinite(length)) return {0, 0, 0, 1};
  return {q[0] / length, q[1] / length, q[2] / length, q[3] / length};
}

GltfQuat Slerp(GltfQuat a, const GltfQuat& b, double s) {
  double cosine = a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3];
  if (cosine < 0) {
    for (double& value : a) value = -value;
    cosine = -cosine;
  }
  double wa = 1 - s, wb = s;
  if (cosine < 0.9999) {
    double angle = std::acos(std::min(cosine, 1.0));
    double sine = std::sin(angle);
    wa = std::sin((1 - s) * angle) / sine;
    wb = std::sin(s * angle) / sine;
  }
  return NormalizedQuat({wa * a[0] + wb * b[0], wa * a[1] + wb * b[1], wa * a[2] + wb * b[2], wa * a[3] + wb * b[3]});
}

GltfMat3 RotationMatrix(const GltfQuat& q) {
  auto [x, y, z, w] = q;
  return {1 - 2 * (y * y + z * z), 2 * (x * y - z * w),     2 * (x * z + y * w),
          2 * (x * y + z * w),     1 - 2 * (x * x + z * z), 2 * (y * z - x * w),
          2 * (x * z - y * w),     2 * (y * z + x * w),     1 - 2 * (x * x + y * y)};
}

GltfMat3 Multiply(const GltfMat3& a, const GltfMat3& b) {
  GltfMat3 result{};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      for (int k = 0; k < 3; ++k) result[r * 3 + c] += a[r * 3 + k] * b[k * 3 + c];
    }
  }
  return result;
}

GltfMat3 Transposed(const GltfMat3& m) { return {m[0], m[3], m[6], m[1], m[4], m[7], m[2], m[5], m[8]}; }

GltfVec3 Apply(const GltfMat3& m, const GltfVec3& v) {
  return {m[0] * v[0] + m[1] * v[1] + m[2] * v[2], m[3] * v[0] + m[4] * v[1] + m[5] * v[2],
          m[6] * v[0] + m[7] * v[1] + m[8] * v[2]};
}

double AngleBetween(const GltfMat3& a, const GltfMat3& b) {
  GltfMat3 relative = Multiply(Transposed(a), b);
  double cosine = (relative[0] + relative[4] + relative[8] - 1) / 2;
  return std::acos(std::clamp(cosine, -1.0, 1.0));
}

GltfMat4 IdentityMat4() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

GltfMat4 ComposeMatrix(const GltfTransform& transform) {
  GltfMat3 r = RotationMatrix(NormalizedQuat(transform.rotation));
  GltfMat4 m = IdentityMat4();
  for (int c = 0; c < 3; ++c) {
    for (int row = 0; row < 3; ++row) m[c * 4 + row] = r[row * 3 + c] * transform.scale[c];
  }
  for (int row = 0; row < 3; ++row) m[12 + row] = transform.translation[row];
  return m;
}

GltfMat4 Multiply(const GltfMat4& a, const GltfMat4& b) {
  GltfMat4 result{};
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) {
      for (int k = 0; k < 4; ++k) result[c * 4 + r] += a[k * 4 + r] * b[c * 4 + k];
    }
  }
  return result;
}

GltfVec3 TransformPoint(const GltfMat4& m, const GltfVec3& p) {
  GltfVec3 result;
  for (int r = 0; r < 3; ++r) result[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
  return result;
}

DecomposedMatrix Decompose(const GltfMat4& m) {
  DecomposedMatrix result;
  GltfVec3 axes[3];
  for (int c = 0; c < 3; ++c) axes[c] = {m[c * 4], m[c * 4 + 1], m[c * 4 + 2]};
  for (int r = 0; r < 3; ++r) result.translation[r] = m[12 + r];
  for (int c = 0; c < 3; ++c) result.scale[c] = Length(axes[c]);
  if (Dot(Cross(axes[0], axes[1]), axes[2]) < 0) result.scale[0] = -result.scale[0];
  GltfVec3 unit[3];
  for (int c = 0; c < 3; ++c) unit[c] = result.scale[c] != 0 ? Scaled(axes[c], 1 / result.scale[c]) : GltfVec3{0, 0, 0};
  result.shear = std::max({std::fabs(Dot(unit[0], unit[1])), std::fabs(Dot(unit[1], unit[2])), std::fabs(Dot(unit[0], unit[2]))});
  // Gram-Schmidt keeps the rotation a rotation when the axes are sheared or degenerate.
  GltfVec3 x = Normalized(unit[0]);
  if (Length(x) == 0) x = {1, 0, 0};
  GltfVec3 y = Normalized(Subtract(unit[1], Scaled(x, Dot(x, unit[1]))));
  if (Length(y) == 0) y = Normalized(Cross(std::fabs(x[1]) < 0.9 ? GltfVec3{0, 1, 0} : GltfVec3{1, 0, 0}, x));
  GltfVec3 z = Cross(x, y);
  for (int r = 0; r < 3; ++r) {
    result.rotation[r * 3] = x[r];
    result.rotation[r * 3 + 1] = y[r];
    result.rotation[r * 3 + 2] = z[r];
  }
  return result;
}
