#pragma once
// A glTF 2.0 scene (.gltf text or .glb binary) read into plain structs: the nodes of one scene
// with their meshes merged per node, base-colour materials, the pictures they use, cameras and
// node animations. Every index and byte range is checked before it is used; anything outside
// the file's own folder is refused.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "files/gltf_math.h"

// More vertices than this in one node is refused: the engine draws every object from lists it
// compiles at load, and a node this large is an export mistake, not a scene.
inline constexpr size_t GLTF_MAX_NODE_VERTICES = 500000;
inline constexpr size_t GLTF_MAX_SCENE_VERTICES = 2000000;
// Keys later than this are refused: a demo's scene is minutes long, and every frame of the
// animation is checked when it is keyed.
inline constexpr double GLTF_MAX_ANIMATION_SECONDS = 600;

// Reads a file named by a relative URI beside the glTF file. The path is already decoded and
// proven to stay inside the folder.
using GltfFileSource = std::function<bool(const std::string& path, std::vector<uint8_t>& bytes, std::string& why)>;

struct GltfImage {
  std::string name;
  std::vector<uint8_t> bytes;  // as stored: PNG or JPEG
  std::string extension;       // "png" or "jpg"; empty when neither
};

struct GltfMaterial {
  std::string name;
  std::array<double, 4> baseColor{1, 1, 1, 1};
  int image = -1;                    // the base colour texture's picture
  std::vector<std::string> dropped;  // what the engine cannot show, named for the warning
};

struct GltfTriangle {
  std::array<uint32_t, 3> corners{};
  int material = -1;  // -1: glTF's default material
};

// Every triangle primitive of one mesh, in the mesh's own space.
struct GltfMesh {
  std::string name;
  std::vector<float> positions;  // 3 per vertex
  std::vector<float> normals;    // 3 per vertex, or empty when no primitive has them
  std::vector<float> uvs;        // 2 per vertex (0 0 where a primitive has none)
  std::vector<GltfTriangle> triangles;
  bool morphTargets = false;
};

struct GltfCamera {
  std::string name;
  bool perspective = true;
  double yfov = 0.8;  // radians
  double aspectRatio = 0;
};

struct GltfNode {
  std::string name;
  int parent = -1;
  GltfTransform rest;
  int mesh = -1;
  int camera = -1;
  bool skinned = false;
};

enum class GltfPath { Translation, Rotation, Scale };
enum class GltfInterpolation { Step, Linear, CubicSpline };

struct GltfChannel {
  int node = -1;
  GltfPath path = GltfPath::Translation;
  GltfInterpolation interpolation = GltfInterpolation::Linear;
  std::vector<float> times;
  // 3 (or 4 for rotation) numbers per key; cubic splines hold in-tangent, value, out-tangent.
  std::vector<float> values;
};

struct GltfAnimation {
  std::string name;
  std::vector<GltfChannel> channels;
};

struct GltfDocument {
  std::vector<GltfNode> nodes;  // the scene's nodes, parents before children
  std::vector<GltfMesh> meshes;
  std::vector<GltfMaterial> materials;
  std::vector<GltfImage> images;
  std::vector<GltfCamera> cameras;
  std::vector<GltfAnimation> animations;
  std::vector<std::string> warnings;
};

// Reads the bytes of a .gltf or .glb. False with a reason when the file is not a glTF 2.0 scene
// the importer can read.
bool ReadGltf(const uint8_t* data, size_t size, const GltfFileSource& files, GltfDocument& out, std::string& error);

// True for a relative URI path that stays inside its folder ("a/b.png", not "../b.png" or "/b").
bool IsPathInsideFolder(const std::string& path);
