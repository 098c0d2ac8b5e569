#pragma once
// Models as the generators build them, written as Metasequoia text documents for `mqo2bmdl`.
// Positions are in the engine's drawing space (models are drawn as stored); a face's corners run
// counter-clockwise seen from the side it faces, which is the side the engine draws.

#include <array>
#include <string>
#include <vector>

#include "content/showcase/generators/vec3.h"

struct MeshMaterial {
  std::string name;  // "NAME@EFFECT" draws with data\shader\EFFECT.cgfx
  std::array<double, 4> color{1, 1, 1, 1};
  double diffuse = 0.8, ambient = 0.6, emissive = 0.0, specular = 0.0, power = 5.0;
  std::string texture;  // as mqo2bmdl reads it: relative to data\model\, or a data\ path
};

struct MeshFace {
  std::vector<int> corners;  // vertex indices, counter-clockwise seen from the front
  std::vector<std::array<double, 2>> uv;
  int material = 0;
};

struct MeshObject {
  std::string name;
  int depth = 0;
  double facet = 59.5;  // corners whose normals bend more than this many degrees are drawn flat
  std::vector<Vec3> vertices;
  std::vector<MeshFace> faces;

  int AddVertex(Vec3 position);
  void AddTriangle(int a, int b, int c, std::array<double, 2> uvA, std::array<double, 2> uvB,
                   std::array<double, 2> uvC, int material);
  // Two triangles a-b-c and a-c-d.
  void AddQuad(int a, int b, int c, int d, std::array<double, 2> uvA, std::array<double, 2> uvB,
               std::array<double, 2> uvC, std::array<double, 2> uvD, int material);
  // An axis-aligned box between lo and hi, faces outward; each side's texture coordinates are
  // its extent divided by uvScale, so textures keep their size on boxes of any size.
  void AddBox(Vec3 lo, Vec3 hi, double uvScale, int material);
};

struct Mesh {
  std::vector<MeshMaterial> materials;
  std::vector<MeshObject> objects;

  MeshObject& AddObject(const std::string& name, double facet = 59.5);
  // A marker object ">NAME" at point: the pivot its object turns about.
  void AddPivot(const std::string& name, Vec3 point);
};

// The Metasequoia text document of mesh.
std::string WriteMqo(const Mesh& mesh);
