#pragma once
// Column-major 4 × 4 matrices as glUniformMatrix4fv takes them, with the few builders the plain
// frame needs (the same transforms the fixed-function calls of the engine make).

#include <array>

using Mat4 = std::array<float, 16>;

Mat4 Identity();
Mat4 Multiply(const Mat4& a, const Mat4& b);
Mat4 Frustum(double left, double right, double bottom, double top, double nearPlane, double farPlane);
Mat4 Ortho(double left, double right, double bottom, double top, double nearPlane, double farPlane);
Mat4 LookAt(const std::array<double, 3>& eye, const std::array<double, 3>& target, const std::array<double, 3>& up);
Mat4 Translate(float x, float y, float z);
Mat4 Rotate(float degrees, float x, float y, float z);
Mat4 Scale(float x, float y, float z);
