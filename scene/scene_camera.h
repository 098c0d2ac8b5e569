#pragma once
// The camera of a scene at an animation time: eye and look-at keys from the camera object's two
// tracks, the vertical field of view (30 degrees widened by the eye's y rotation) and the 16:9
// near-plane extents of its frustum.

#include "files/tdf_object.h"

struct TdfScene;

inline constexpr double SCENE_NEAR_PLANE = 0.1;
inline constexpr double SCENE_FAR_PLANE = 150.0;
inline constexpr double SCENE_ASPECT = 1.7777778;

struct SceneCamera {
  TdfKey eye;     // "camera_pos": eye point, field of view (rotation y) and roll (rotation z)
  TdfKey lookAt;  // "camera_lookat": the point looked at
  float rollDegrees = 0;
  double fieldOfViewDegrees = 30;
  double halfWidth = 0;   // at the near plane
  double halfHeight = 0;
};

SceneCamera EvaluateSceneCamera(const TdfObject& camera, float time);

// The largest last key time of the scene's camera objects, 0 without one: the seconds that the
// phase 0 to 1 of a scene spans.
float SceneLength(const TdfScene& scene);

// Pushes and loads the camera's jittered projection (the supersampling sample's offset) and its
// view, leaving the model-view matrix selected, and hands effects the eye and the light opposite
// it.
void BeginSceneCamera(const SceneCamera& camera);
// Pops what BeginSceneCamera pushed.
void EndSceneCamera();
