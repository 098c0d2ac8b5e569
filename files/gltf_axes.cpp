#include "files/gltf_axes.h"

#include <cmath>

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double TWO_PI = 2 * PI;
const GltfVec3 UP{0, 1, 0};

double Nearest(double angle, double previous) { return angle + TWO_PI * std::round((previous - angle) / TWO_PI); }

GltfMat3 RotationZ(double a) { return {std::cos(a), -std::sin(a), 0, std::sin(a), std::cos(a), 0, 0, 0, 1}; }
GltfMat3 RotationY(double b) { return {std::cos(b), 0, std::sin(b), 0, 1, 0, -std::sin(b), 0, std::cos(b)}; }
GltfMat3 RotationX(double c) { return {1, 0, 0, 0, std::cos(c), -std::sin(c), 0, std::sin(c), std::cos(c)}; }

EngineAngles Unwrapped(double a, double b, double c, const EngineAngles& previous) {
  return {Nearest(-c, previous[0]), Nearest(-b, previous[1]), Nearest(a, previous[2])};
}

double Distance(const EngineAngles& x, const EngineAngles& y) {
  return std::fabs(x[0] - y[0]) + std::fabs(x[1] - y[1]) + std::fabs(x[2] - y[2]);
}

GltfVec3 Column(const GltfMat4& m, int c) { return {m[c * 4], m[c * 4 + 1], m[c * 4 + 2]}; }

// The screen's right-hand axis of a look-at camera with +Y up, and its up.
void LookAtAxes(const GltfVec3& forward, GltfVec3& right, GltfVec3& up) {
  right = Normalized(Cross(forward, UP));
  up = Cross(right, forward);
}

}  // namespace

GltfVec3 EnginePosition(const GltfVec3& p) { return {p[0], p[1], -p[2]}; }
GltfVec3 GltfPositionOf(const GltfVec3& p) { return {p[0], p[1], -p[2]}; }

EngineAngles EngineRotation(const GltfMat3& r, const EngineAngles& previous) {
  double sineB = std::fmax(-1.0, std::fmin(1.0, -r[6]));
  double b = std::asin(sineB);
  if (std::sqrt(r[7] * r[7] + r[8] * r[8]) < 1e-9) {
    // Gimbal lock: only a and c together are known; keep a where it was.
    double a = previous[2];
    GltfMat3 rest = Multiply(Transposed(RotationY(b)), Multiply(Transposed(RotationZ(a)), r));
    double c = std::atan2(rest[7], rest[4]);
    return Unwrapped(a, b, c, previous);
  }
  double a = std::atan2(r[3], r[0]);
  double c = std::atan2(r[7], r[8]);
  EngineAngles first = Unwrapped(a, b, c, previous);
  EngineAngles second = Unwrapped(a + PI, PI - b, c + PI, previous);
  return Distance(first, previous) <= Distance(second, previous) ? first : second;
}

GltfMat3 DrawnRotation(const EngineAngles& angles) {
  return Multiply(RotationZ(angles[2]), Multiply(RotationY(-angles[1]), RotationX(-angles[0])));
}

EngineCameraKey EngineCamera(const GltfMat4& world, double lookDistance, double previousRoll) {
  GltfVec3 eye = Column(world, 3);
  GltfVec3 forward = Normalized(Scaled(Column(world, 2), -1));
  GltfVec3 cameraUp = Normalized(Column(world, 1));
  GltfVec3 cameraRight = Normalized(Column(world, 0));
  if (std::fabs(Dot(forward, UP)) > 1 - 1e-6) forward = Normalized(Add(forward, Scaled(cameraUp, 1e-3)));
  GltfVec3 right, up;
  LookAtAxes(forward, right, up);
  EngineCameraKey key;
  key.eye = EnginePosition(eye);
  key.lookAt = EnginePosition(Add(eye, Scaled(forward, lookDistance)));
  key.roll = Nearest(-std::atan2(Dot(cameraRight, up), Dot(cameraRight, right)), previousRoll);
  return key;
}

DrawnCamera DrawnCameraOf(const GltfVec3& eye, const GltfVec3& lookAt, double roll) {
  DrawnCamera camera;
  camera.eye = GltfPositionOf(eye);
  camera.forward = Normalized(Subtract(GltfPositionOf(lookAt), camera.eye));
  GltfVec3 right, up;
  LookAtAxes(camera.forward, right, up);
  camera.right = Add(Scaled(right, std::cos(-roll)), Scaled(up, std::sin(-roll)));
  return camera;
}
