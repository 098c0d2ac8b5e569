#pragma once
// The little linear algebra a glTF import needs: vectors, unit quaternions and 4x4 matrices
// stored column by column as glTF stores them. Doubles throughout, so that flattening deep
// hierarchies and fitting keys does not add rounding of its own.

#include <array>

using GltfVec3 = std::array<double, 3>;
// x, y, z, w as glTF writes them.
using GltfQuat = std::array<double, 4>;
// Column-major: element (row r, column c) at [c * 4 + r].
using GltfMat4 = std::array<double, 16>;
// Row-major 3x3 rotation: element (row r, column c) at [r * 3 + c].
using GltfMat3 = std::array<double, 9>;

struct GltfTransform {
  GltfVec3 translation{0, 0, 0};
  GltfQuat rotation{0, 0, 0, 1};
  GltfVec3 scale{1, 1, 1};
};

GltfVec3 Add(const GltfVec3& a, const GltfVec3& b);
GltfVec3 Subtract(const GltfVec3& a, const GltfVec3& b);
GltfVec3 Scaled(const GltfVec3& a, double s);
double Dot(const GltfVec3& a, const GltfVec3& b);
GltfVec3 Cross(const GltfVec3& a, const GltfVec3& b);
double Length(const GltfVec3& a);
GltfVec3 Normalized(const GltfVec3& a);

GltfQuat NormalizedQuat(const GltfQuat& q);
// Spherical blend along the shorter arc.
GltfQuat Slerp(GltfQuat a, const GltfQuat& b, double s);
GltfMat3 RotationMatrix(const GltfQuat& q);
GltfMat3 Multiply(const GltfMat3& a, const GltfMat3& b);
GltfMat3 Transposed(const GltfMat3& m);
GltfVec3 Apply(const GltfMat3& m, const GltfVec3& v);
// The angle in radians of the rotation that takes a to b.
double AngleBetween(const GltfMat3& a, const GltfMat3& b);

GltfMat4 IdentityMat4();
GltfMat4 ComposeMatrix(const GltfTransform& transform);
GltfMat4 Multiply(const GltfMat4& a, const GltfMat4& b);
GltfVec3 TransformPoint(const GltfMat4& m, const GltfVec3& p);

// Translation, rotation and per-axis scale of an affine matrix (a mirroring matrix gets a
// negative x scale); shear is what is left, as the largest cosine between the scaled axes.
struct DecomposedMatrix {
  GltfVec3 translation{0, 0, 0};
  GltfMat3 rotation{1, 0, 0, 0, 1, 0, 0, 0, 1};
  GltfVec3 scale{1, 1, 1};
  double shear = 0;
};
DecomposedMatrix Decompose(const GltfMat4& m);
