#include "scene/scene_camera.h"

#include <algorithm>
#include <cmath>

#include "files/tdf_document.h"
#include "scene/mqo_render.h"
#include "scene/render_object.h"
#include "render/matrix_stack.h"

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

void BeginSceneCamera(const SceneCamera& camera) {
  SelectMatrixStack(MatrixStack::Projection);
  PushMatrix();
  LoadIdentityMatrix();
  SetJitteredFrustum(CurrentJitter(), -camera.halfWidth, camera.halfWidth, -camera.halfHeight, camera.halfHeight,
                     SCENE_NEAR_PLANE, SCENE_FAR_PLANE);
  SelectMatrixStack(MatrixStack::Modelview);
  PushMatrix();
  LoadIdentityMatrix();
  RotateMatrix(camera.rollDegrees, 0.0f, 0.0f, 1.0f);
  const auto& eye = camera.eye.position;
  const auto& target = camera.lookAt.position;
  MultiplyLookAt(eye[0], eye[1], -eye[2], target[0], target[1], -target[2], 0.0, 1.0, 0.0);
  eyePosition = {eye[0], eye[1], eye[2]};
  lightPosition = {-eye[0], -eye[1], -eye[2]};
}

void EndSceneCamera() {
  SelectMatrixStack(MatrixStack::Modelview);
  PopMatrix();
  SelectMatrixStack(MatrixStack::Projection);
  PopMatrix();
}
