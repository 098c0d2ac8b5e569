#include "tests/support/gltf_fixture.h"

#include <cstring>
#include <fstream>
#include <set>

using nlohmann::json;

namespace {

std::string Base64(const std::vector<uint8_t>& bytes) {
  static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t chunk = bytes[i] << 16;
    if (i + 1 < bytes.size()) chunk |= bytes[i + 1] << 8;
    if (i + 2 < bytes.size()) chunk |= bytes[i + 2];
    text += digits[(chunk >> 18) & 63];
    text += digits[(chunk >> 12) & 63];
    text += i + 1 < bytes.size() ? digits[(chunk >> 6) & 63] : '=';
    text += i + 2 < bytes.size() ? digits[chunk & 63] : '=';
  }
  return text;
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

json& Array(json& parent, const char* key) {
  if (!parent.contains(key)) parent[key] = json::array();
  return parent[key];
}

int Append(json& parent, const char* key, json value) {
  json& list = Array(parent, key);
  list.push_back(std::move(value));
  return static_cast<int>(list.size()) - 1;
}

}  // namespace

void GltfFixture::Align() {
  while (mBuffer.size() % 4) mBuffer.push_back(0);
}

int GltfFixture::AddFloats(const std::vector<float>& values, const char* type) {
  Align();
  size_t offset = mBuffer.size();
  mBuffer.resize(offset + values.size() * 4);
  std::memcpy(mBuffer.data() + offset, values.data(), values.size() * 4);
  int width = std::string(type) == "SCALAR" ? 1 : type[3] - '0';
  int view = Append(mJson, "bufferViews", {{"buffer", 0}, {"byteOffset", offset}, {"byteLength", values.size() * 4}});
  json accessor = {{"bufferView", view}, {"componentType", 5126}, {"count", values.size() / width}, {"type", type}};
  if (std::string(type) == "VEC3" && !values.empty()) {
    std::vector<float> low(values.begin(), values.begin() + 3), high = low;
    for (size_t i = 0; i < values.size(); ++i) {
      low[i % 3] = std::min(low[i % 3], values[i]);
      high[i % 3] = std::max(high[i % 3], values[i]);
    }
    accessor["min"] = low;
    accessor["max"] = high;
  }
  return Append(mJson, "accessors", accessor);
}

int GltfFixture::AddIndices(const std::vector<uint16_t>& indices) {
  Align();
  size_t offset = mBuffer.size();
  mBuffer.resize(offset + indices.size() * 2);
  std::memcpy(mBuffer.data() + offset, indices.data(), indices.size() * 2);
  int view = Append(mJson, "bufferViews", {{"buffer", 0}, {"byteOffset", offset}, {"byteLength", indices.size() * 2}});
  return Append(mJson, "accessors", {{"bufferView", view}, {"componentType", 5123}, {"count", indices.size()}, {"type", "SCALAR"}});
}

int GltfFixture::AddImage(const std::vector<uint8_t>& bytes, const char* mimeType) {
  Align();
  size_t offset = mBuffer.size();
  mBuffer.insert(mBuffer.end(), bytes.begin(), bytes.end());
  int view = Append(mJson, "bufferViews", {{"buffer", 0}, {"byteOffset", offset}, {"byteLength", bytes.size()}});
  return Append(mJson, "images", {{"bufferView", view}, {"mimeType", mimeType}});
}

int GltfFixture::AddCubeMesh(float h, int material) {
  std::vector<float> positions, normals, uvs;
  std::vector<uint16_t> indices;
  // Each face: its normal axis and sign, corners counter-clockwise seen from outside.
  for (int axis = 0; axis < 3; ++axis) {
    for (float sign : {1.0f, -1.0f}) {
      int u = (axis + 1) % 3, v = (axis + 2) % 3;
      auto base = static_cast<uint16_t>(positions.size() / 3);
      const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
      for (const auto& corner : corners) {
        float p[3];
        p[axis] = sign * h;
        p[u] = corner[0] * h * sign;
        p[v] = corner[1] * h;
        positions.insert(positions.end(), p, p + 3);
        float n[3] = {0, 0, 0};
        n[axis] = sign;
        normals.insert(normals.end(), n, n + 3);
        uvs.push_back((corner[0] + 1) / 2);
        uvs.push_back((1 - corner[1]) / 2);
      }
      for (int i : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<uint16_t>(base + i));
    }
  }
  json primitive = {{"attributes",
                     {{"POSITION", AddFloats(positions, "VEC3")},
                      {"NORMAL", AddFloats(normals, "VEC3")},
                      {"TEXCOORD_0", AddFloats(uvs, "VEC2")}}},
                    {"indices", AddIndices(indices)}};
  if (material >= 0) primitive["material"] = material;
  return Append(mJson, "meshes", {{"name", "cube"}, {"primitives", json::array({primitive})}});
}

int GltfFixture::AddMaterial(std::array<float, 4> color, int image) {
  json pbr = {{"baseColorFactor", color}, {"metallicFactor", 1.0}, {"roughnessFactor", 1.0}};
  if (image >= 0) pbr["baseColorTexture"] = {{"index", Append(mJson, "textures", {{"source", image}})}};
  return Append(mJson, "materials", {{"name", "paint"}, {"pbrMetallicRoughness", pbr}});
}

int GltfFixture::AddPerspectiveCamera(double yfov, double aspectRatio) {
  return Append(mJson, "cameras",
                {{"type", "perspective"}, {"perspective", {{"yfov", yfov}, {"aspectRatio", aspectRatio}, {"znear", 0.1}}}});
}

int GltfFixture::AddNode(const std::string& name, json fields) {
  fields["name"] = name;
  return Append(mJson, "nodes", fields);
}

void GltfFixture::AddChild(int parent, int child) { Array(mJson["nodes"][parent], "children").push_back(child); }

void GltfFixture::AddChannel(const std::string& animation, int node, const char* path, const char* interpolation,
                             const std::vector<float>& times, const std::vector<float>& values) {
  json& animations = Array(mJson, "animations");
  json* target = nullptr;
  for (json& existing : animations) {
    if (existing["name"] == animation) target = &existing;
  }
  if (!target) {
    animations.push_back({{"name", animation}, {"samplers", json::array()}, {"channels", json::array()}});
    target = &animations.back();
  }
  int input = AddFloats(times, "SCALAR");
  int output = AddFloats(values, std::string(path) == "rotation" ? "VEC4" : "VEC3");
  // AddFloats may have grown the document; find the animation again.
  for (json& existing : mJson["animations"]) {
    if (existing["name"] == animation) target = &existing;
  }
  int sampler = Append(*target, "samplers", {{"input", input}, {"output", output}, {"interpolation", interpolation}});
  Append(*target, "channels", {{"sampler", sampler}, {"target", {{"node", node}, {"path", path}}}});
}

json GltfFixture::Finished(bool inlineBuffer) const {
  json document = mJson;
  document["asset"] = {{"version", "2.0"}};
  std::set<int> held;
  std::vector<int> roots;
  if (document.contains("nodes")) {
    for (const json& node : document["nodes"]) {
      if (node.contains("children")) {
        for (int child : node["children"]) held.insert(child);
      }
    }
    for (int i = 0; i < static_cast<int>(document["nodes"].size()); ++i) {
      if (!held.count(i)) roots.push_back(i);
    }
  }
  document["scenes"] = json::array({{{"nodes", roots}}});
  document["scene"] = 0;
  json buffer = {{"byteLength", mBuffer.size()}};
  if (inlineBuffer) buffer["uri"] = "data:application/octet-stream;base64," + Base64(mBuffer);
  if (!mBuffer.empty()) document["buffers"] = json::array({buffer});
  return document;
}

std::string GltfFixture::GltfText() const { return Finished(true).dump(); }

std::vector<uint8_t> GltfFixture::Glb() const {
  std::string text = Finished(false).dump();
  while (text.size() % 4) text += ' ';
  std::vector<uint8_t> binary = mBuffer;
  while (binary.size() % 4) binary.push_back(0);
  std::vector<uint8_t> out = {'g', 'l', 'T', 'F'};
  PutU32(out, 2);
  PutU32(out, static_cast<uint32_t>(12 + 8 + text.size() + (binary.empty() ? 0 : 8 + binary.size())));
  PutU32(out, static_cast<uint32_t>(text.size()));
  PutU32(out, 0x4E4F534A);
  out.insert(out.end(), text.begin(), text.end());
  if (!binary.empty()) {
    PutU32(out, static_cast<uint32_t>(binary.size()));
    PutU32(out, 0x004E4942);
    out.insert(out.end(), binary.begin(), binary.end());
  }
  return out;
}

void GltfFixture::WriteGlb(const std::string& path) const {
  std::vector<uint8_t> bytes = Glb();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> TinyPng() {
  // 2x2 RGB: red, white / white, red.
  return {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00,
          0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x02, 0x00, 0x00, 0x00, 0xFD, 0xD4, 0x9A, 0x73, 0x00, 0x00, 0x00, 0x12, 0x49,
          0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0xFF, 0xFF, 0x7F, 0x10, 0x06, 0xB2, 0x00, 0x39, 0xD4,
          0x07, 0xF9, 0x61, 0x36, 0xF9, 0x78, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
}
