#pragma once
// A glTF scene turned into a production's files: one Metasequoia model with an object per mesh
// node, the pictures its materials use, and one scene animation whose camera and parts the
// engine's blending moves as the glTF animation does at every frame.

#include <cstdint>
#include <string>
#include <vector>

#include "files/gltf_document.h"

struct GltfImportOptions {
  std::string name;       // the model's and (without an animation chosen) the animation's name
  std::string animation;  // empty: every animation of the file at once
  std::string camera;     // node or camera name; empty: the first camera of the scene
};

struct GltfImportedTexture {
  std::string fileName;  // under data/texture/
  std::vector<uint8_t> bytes;
};

struct GltfImport {
  std::string modelName;      // models/NAME.mqo
  std::string animationName;  // data/tdf/NAME.tdf
  std::string mqoText;
  std::string tdfText;
  std::vector<GltfImportedTexture> textures;
  std::vector<std::string> warnings;
  size_t parts = 0;
  size_t vertices = 0;
  size_t triangles = 0;
  size_t modelKeys = 0;
  size_t cameraKeys = 0;
  double duration = 0;   // seconds
  double sceneSize = 0;  // the diagonal of the meshes' bounds at the start
  // Measured at every frame at 60 frames a second, by the engine's own blending of the keys as
  // written, against the glTF animation.
  double worstPositionMiss = 0;  // scene units
  double worstRotationMissDegrees = 0;
};

// Tolerances the keys are fitted to: half the promise, so rounding never breaks it.
inline constexpr double IMPORT_POSITION_TOLERANCE = 0.0005;  // of the scene's size
inline constexpr double IMPORT_ROTATION_TOLERANCE_DEGREES = 0.1;

bool ImportGltf(const GltfDocument& document, const GltfImportOptions& options, GltfImport& out, std::string& error);

// A name safe in both formats' quotes and as a file name: letters, digits, '_', '-' and '.'.
std::string SafeName(const std::string& name, const std::string& fallback);
