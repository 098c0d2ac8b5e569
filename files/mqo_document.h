#pragma once
// A Metasequoia text document (.mqo) as authored: its materials and objects. ParseMqo reads the
// text format (versions 1.0 and 1.1) and skips the chunks a model cache has no use for (scene,
// thumbnail, back images, extended materials, vertex attributes).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct MqoMaterial {
  std::string name;  // bytes as stored (often Shift_JIS)
  int shader = 3;
  std::array<float, 4> color{1, 1, 1, 1};
  float diffuse = 0.8f;
  float ambient = 0.6f;
  float emissive = 0;
  float specular = 0;
  float power = 5;
  std::string texture;     // tex("..."), as written
  std::string alphaPlane;  // aplane("...")
  std::string bump;        // bump("...")
};

struct MqoFace {
  std::vector<uint32_t> vertices;
  int material = -1;  // -1: none given
  std::vector<std::array<float, 2>> uv;  // empty, or one per vertex
  int line = 0;  // 1-based, in the document
};

// A list's count as written before its "{" ("vertex 6 {"), and the line it is on.
struct MqoDeclaredCount {
  long count = -1;  // -1: no such list
  int line = 0;
};

struct MqoObject {
  std::string name;
  int depth = 0;
  int visible = 15;
  float facet = 59.5f;
  std::array<float, 3> scale{1, 1, 1};
  int mirror = 0;      // 0 none, 1 separate, 2 connected
  int mirrorAxis = 0;  // bits: 1 X, 2 Y, 4 Z
  std::vector<float> vertices;  // x, y, z per vertex
  std::vector<MqoFace> faces;
  // The reader takes the entries that are there, whatever the counts say.
  MqoDeclaredCount declaredVertices;  // of the text "vertex" list
  MqoDeclaredCount declaredFaces;
};

struct MqoDocument {
  std::vector<MqoMaterial> materials;
  std::vector<MqoObject> objects;
};

// Parses a whole document. False with a one-line reason in error for anything that is not a
// readable Metasequoia text document (including the compressed ".mqoz" form), and the 1-based
// line where reading stopped in errorLine when given.
bool ParseMqo(const uint8_t* data, size_t size, MqoDocument& document, std::string& error, int* errorLine = nullptr);
