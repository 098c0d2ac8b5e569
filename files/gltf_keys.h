#pragma once
// The scene animation objects of an imported glTF scene: the camera (object -1) and the model
// (object 0), keyed so the engine's blending follows the glTF animation within the tolerances.

#include <string>
#include <vector>

#include "files/gltf_animation.h"
#include "files/gltf_model.h"
#include "files/tdf_object.h"

struct GltfKeyTolerance {
  double position = 0.001;  // scene units
  double rotation = 0.001;  // radians
};

struct GltfSceneKeys {
  TdfObject camera;
  TdfObject model;
};

struct GltfCameraChoice {
  int node = -1;
  double yfov = 0.8;
};

// The times a scene of this length is checked at: 120 a second, so every frame at 60 a second.
std::vector<double> CheckedTimes(double duration);

void FitSceneKeys(const GltfPose& pose, const std::vector<GltfModelPart>& parts,
                  const GltfCameraChoice& camera, double lookDistance, const GltfKeyTolerance& tolerance,
                  GltfSceneKeys& keys, std::vector<std::string>& warnings);

// How far the engine's camera for these keys is from the glTF camera at time, in scene units
// (eye) and radians (view direction, roll).
struct CameraMiss {
  double eye = 0;
  double angle = 0;
};
CameraMiss MissOfCamera(const TdfObject& camera, double time, const GltfMat4& world);

// How far a part drawn by its keys is from its world matrix.
struct PartMiss {
  double position = 0;
  double angle = 0;
  double scale = 0;  // largest relative scale difference
};
PartMiss MissOfPart(const TdfKey& key, const DecomposedMatrix& exact);
