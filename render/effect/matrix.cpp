#include "render/effect/matrix.h"

#include <cmath>
#include <utility>

void MultiplyMatrix(const float* a, const float* b, float* out) {
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[column * 4 + k];
      out[column * 4 + row] = sum;
    }
  }
}

void TransposeMatrix(const float* m, float* out) {
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) out[row * 4 + column] = m[column * 4 + row];
  }
}

// Gauss-Jordan elimination with partial pivoting, in double precision.
bool InvertMatrix(const float* m, float* out) {
  double a[4][8];
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      a[row][column] = m[column * 4 + row];
      a[row][column + 4] = row == column ? 1.0 : 0.0;
    }
  }
  for (int column = 0; column < 4; ++column) {
    int pivot = column;
    for (int row = column + 1; row < 4; ++row) {
      if (std::fabs(a[row][column]) > std::fabs(a[pivot][column])) pivot = row;
    }
    if (std::fabs(a[pivot][column]) < 1e-12) return false;
    for (int k = 0; k < 8; ++k) std::swap(a[column][k], a[pivot][k]);
    const double scale = 1.0 / a[column][column];
    for (int k = 0; k < 8; ++k) a[column][k] *= scale;
    for (int row = 0; row < 4; ++row) {
      if (row == column) continue;
      const double factor = a[row][column];
      for (int k = 0; k < 8; ++k) a[row][k] -= factor * a[column][k];
    }
  }
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) out[column * 4 + row] = static_cast<float>(a[row][column + 4]);
  }
  return true;
}
