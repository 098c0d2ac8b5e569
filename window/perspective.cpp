#include "window/perspective.h"

#include <cmath>

namespace {

constexpr double PI = 3.141592653589793;

}  // namespace

FrustumBounds PerspectiveFrustum(double fovDegrees, double aspect, double zNear, double zFar) {
  double halfAngle = fovDegrees * PI / 180.0 * 0.5;
  double e = zNear * std::sin(halfAngle) / std::cos(halfAngle);
  return {-e * aspect, e * aspect, -e, e, zNear, zFar};
}
