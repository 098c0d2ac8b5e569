#pragma once
// A small glTF 2.0 writer for tests: meshes, nodes, cameras, animations and pictures built in
// code and written as a .gltf (buffers inline) or a .glb.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

class GltfFixture {
 public:
  // Appends numbers to the binary buffer and gives the accessor over them (type "SCALAR",
  // "VEC2", "VEC3", "VEC4").
  int AddFloats(const std::vector<float>& values, const char* type);
  int AddIndices(const std::vector<uint16_t>& indices);
  int AddImage(const std::vector<uint8_t>& bytes, const char* mimeType);

  // A cube of the given half-size centred on its origin, with normals, UVs and the material.
  int AddCubeMesh(float half, int material = -1);
  int AddMaterial(std::array<float, 4> color, int image = -1);
  int AddPerspectiveCamera(double yfov, double aspectRatio = 16.0 / 9.0);
  // A node; returns its index. Children are set with AddChild.
  int AddNode(const std::string& name, nlohmann::json fields = nlohmann::json::object());
  void AddChild(int parent, int child);
  // One sampler and channel of the named animation (made when first named).
  void AddChannel(const std::string& animation, int node, const char* path, const char* interpolation,
                  const std::vector<float>& times, const std::vector<float>& values);

  nlohmann::json& Json() { return mJson; }
  // The scene holds every node no other node holds.
  std::string GltfText() const;
  std::vector<uint8_t> Glb() const;
  void WriteGlb(const std::string& path) const;

 private:
  nlohmann::json Finished(bool inlineBuffer) const;
  void Align();

  nlohmann::json mJson = nlohmann::json::object();
  std::vector<uint8_t> mBuffer;
};

// A 2x2 PNG, red and white.
std::vector<uint8_t> TinyPng();
