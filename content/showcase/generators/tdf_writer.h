#pragma once
// Scene animation files as the generators write them: models, scenes, objects and keyed parts,
// written in the reader's keyword order. Key values are given in drawing space (as models are
// stored) and written the way the file keeps them: position z negated, x and y rotations negated,
// so that a key turning an object by (ax, ay, az) turns it by Rz(az) Ry(ay) Rx(ax) in drawing
// space.

#include <string>
#include <utility>
#include <vector>

#include "content/showcase/generators/vec3.h"

struct PartKey {
  Vec3 position;
  Vec3 rotation;  // radians about x, y, z in drawing space
  Vec3 scale{1, 1, 1};
  double alpha = 1.0;
};

struct PartTrack {
  std::string name;
  std::vector<PartKey> keys;  // one per time of the object
  bool position = false, rotation = false, scale = false, alpha = false;  // which blocks to write
};

struct ObjectTrack {
  int slot = -1;  // model table slot; -1 is the camera
  bool followsCamera = true;
  bool visible = true;
  std::vector<double> times;  // seconds from the scene's start, rising
  std::vector<PartTrack> parts;
};

struct SceneTrack {
  std::string name;
  std::vector<ObjectTrack> objects;  // the camera first
};

struct TdfFile {
  std::string title;
  std::vector<std::pair<int, std::string>> models;  // slot, pack path of the .mqo
  std::vector<SceneTrack> scenes;
};

// A camera object keyed at times: eye and look-at points, the vertical field of view in degrees
// (30 or more) and the roll in radians.
struct CameraKey {
  Vec3 eye, target;
  double fieldOfView = 45.0;
  double roll = 0.0;
};
ObjectTrack CameraTrack(const std::vector<double>& times, const std::vector<CameraKey>& keys);

// An object with one key holding every part at rest: drawn as modelled for the whole scene.
ObjectTrack StillObject(int slot, const std::string& part);

std::string WriteTdf(const TdfFile& file);
