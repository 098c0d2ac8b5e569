#include "scene/scene_camera.h"

#include <algorithm>
#include <cmath>

#include "files/tdf_document.h"
#include "scene/mqo_render.h"

SceneCamera EvaluateSceneCamera(const TdfObject& camera, float time) {
  SceneCamera result;
  result.eye = camera.GetKey(TDF_CAMERA_POSITION_PART, time);
  result.lookAt = camera.GetKey(TDF_CAMERA_LOOKAT_PART, time);
  result.rollDegrees = RendererDegrees(result.eye.rotation[2]);
  result.fieldOfViewDegrees = 30.0 + RendererDegrees(result.eye.rotation[1]);
  constexpr double pi = 3.141592653589793;
  result.halfHeight = SCENE_NEAR_PLANE * std::tan(result.fieldOfViewDegrees * pi / 180.0 / 2.0);
  result.halfWidth = result.halfHeight * SCENE_ASPECT;
  return result;
}

float SceneLength(const TdfScene& scene) {
  float length = 0.0f;
  for (const TdfObject& object : scene.objects) {
    if (object.modelIndex == TDF_CAMERA_SLOT && !object.times.empty()) length = std::max(length, object.times.back());
  }
  return length;
}
