#pragma once
// Where glTF's space meets the engine's: the one place that knows how a glTF point, rotation or
// camera becomes a scene animation key, and how the engine draws that key back.
//
// glTF is right-handed, +Y up, in metres, and its cameras look down their own -Z. The engine's
// picture space is OpenGL's: right-handed, +Y up, the eye looking down -Z. So the two spaces are
// the same and a glTF vertex is written to the model exactly as it is (mesh space; one unit a
// metre), which keeps the winding: counter-clockwise seen from the front in both.
//
// Scene animation keys are not in picture space, though. The engine negates z of every key
// position (the eye and look-at point too) on its way into the picture, and draws an object
// turned by Rz(rz) Ry(-ry) Rx(-rx) — the mirror of negating z, applied to the angles. So a
// glTF world transform T R S becomes:
//   Position (tx, ty, -tz);
//   Rotation from R = Rz(a) Ry(b) Rx(c) as (-c, -b, a), picked among the equal solutions and
//   their 2pi turns as the one nearest the previous key, so the linear blend between two keys
//   never swings the long way round;
//   Scale as it is.
// The camera has no rotation key of its own: the engine looks from the eye at a point with +Y
// as up, then rolls the view by Rotation z. The look-at point is put ahead of the eye along the
// glTF camera's -Z, and the roll is the angle from the look-at's up to the glTF camera's +Y,
// about the view direction, with the sign the engine's roll needs. A camera looking straight up
// or down has no up from a look-at; its look-at point is tilted by a thousandth of a radian
// towards the camera's own up, and the roll takes care of the rest. The field of view is 30
// degrees plus Rotation y, so Rotation y is yfov less 30 degrees. The picture is always 16:9.

#include <array>

#include "files/gltf_math.h"

using EngineAngles = std::array<double, 3>;

GltfVec3 EnginePosition(const GltfVec3& gltfPoint);
GltfVec3 GltfPositionOf(const GltfVec3& enginePosition);

// The engine angles for a glTF world rotation, nearest to previous.
EngineAngles EngineRotation(const GltfMat3& rotation, const EngineAngles& previous);
// The rotation the engine draws for a key's angles, in glTF space.
GltfMat3 DrawnRotation(const EngineAngles& angles);

inline constexpr double ENGINE_BASE_FIELD_OF_VIEW = 30.0 * 3.14159265358979323846 / 180.0;

struct EngineCameraKey {
  GltfVec3 eye{0, 0, 0};     // engine position
  GltfVec3 lookAt{0, 0, 1};  // engine position
  double roll = 0;           // Rotation z
};

// The camera keys for a glTF camera node's world matrix; the look-at point lookDistance ahead.
EngineCameraKey EngineCamera(const GltfMat4& world, double lookDistance, double previousRoll);

// What the engine's camera shows for its keys, in glTF space: the direction it looks along and
// its right-hand axis on screen.
struct DrawnCamera {
  GltfVec3 eye;
  GltfVec3 forward;
  GltfVec3 right;
};
DrawnCamera DrawnCameraOf(const GltfVec3& eye, const GltfVec3& lookAt, double roll);
