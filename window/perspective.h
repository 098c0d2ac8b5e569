#pragma once
// Field of view to frustum: the bounds that a symmetric perspective projection hands to a
// frustum operation.

struct FrustumBounds {
  double left;
  double right;
  double bottom;
  double top;
  double zNear;
  double zFar;
};

// Half-angle a = fov / 2 in radians; e = zNear · tan a; x spans ±e · aspect, y spans ±e.
FrustumBounds PerspectiveFrustum(double fovDegrees, double aspect, double zNear, double zFar);
