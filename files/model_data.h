#pragma once
// The in-memory model: materials, objects with their faces and normals, and named points.
// Filled from a model cache; read by the model resource and the renderers.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

using ModelPoint = std::array<float, 3>;

struct ModelMaterial {
  std::array<float, 4> color{};  // red, green, blue, alpha
  float diffuse = 0;
  float ambient = 0;
  float emissive = 0;
  float specular = 0;
  float power = 0;
  int32_t shader = 0;
  std::string texture;   // pack paths; empty means the default
  std::string texture2;
  std::string effect;
};

struct ModelFace {
  uint32_t cornerCount = 3;  // 3: a triangle, 2: a line
  uint32_t material = 0;
  std::array<uint32_t, 4> indices{};
  std::array<std::array<float, 2>, 4> uv{};
};

struct ModelObject {
  uint32_t vertexCount = 0;
  uint32_t faceCount = 0;
  std::string name;
  std::array<float, 3> floats{1, 1, 1};
  std::vector<float> positions;    // vertexCount x (x, y, z)
  std::vector<float> normals;      // vertexCount x (x, y, z)
  std::vector<ModelFace> faces;
  std::vector<float> faceNormals;  // faceCount x (x, y, z)
  uint32_t depth = 0;
  float facet = 59.5f;  // smoothing angle in degrees
};

struct ModelData {
  std::vector<ModelObject> objects;
  std::vector<ModelMaterial> materials;
  std::map<std::string, ModelPoint> namedPoints;  // keyed by name without leading '>'
  ModelPoint pointA{};
  ModelPoint pointB{};

  // The point stored under name (leading '>' removed), or (0, 0, 0) when there is none.
  ModelPoint FindNamedPoint(const std::string& name) const;
};

// name without its leading '>' characters: the key of a named point.
std::string NamedPointKey(const std::string& name);
