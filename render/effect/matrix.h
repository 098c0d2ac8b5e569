#pragma once
// 4x4 matrix helpers for state matrices, in GL's column-major order (m[column * 4 + row]). Pure.

// out = a * b (out may alias neither).
void MultiplyMatrix(const float* a, const float* b, float* out);
void TransposeMatrix(const float* m, float* out);
// False (out untouched) when m is singular.
bool InvertMatrix(const float* m, float* out);
