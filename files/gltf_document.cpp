#define TINYGLTF_IMPLEMENTATION
#include "files/gltf_document.h"

#include <algorithm>
#include <fstream>  // the parser's writer needs it
#include <cmath>
#include <cstring>
#include <map>
#include <set>

#include "files/gltf_accessor.h"
#include "files/gltf_tinygltf.h"

namespace {

// What the parser's callbacks share: the file source and the model being read (for images'
// buffer views, which the parser hands over without checking their range).
struct ReadContext {
  const GltfFileSource* files = nullptr;
  const tinygltf::Model* model = nullptr;
  std::string refused;
};

std::string WithoutDotSlash(std::string path) {
  while (path.rfind("./", 0) == 0) path.erase(0, 2);
  return path;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(const std::string& uri) {
  std::string path;
  for (size_t i = 0; i < uri.size(); ++i) {
    if (uri[i] == '%' && i + 2 < uri.size() && HexDigit(uri[i + 1]) >= 0 && HexDigit(uri[i + 2]) >= 0) {
      path += static_cast<char>(HexDigit(uri[i + 1]) * 16 + HexDigit(uri[i + 2]));
      i += 2;
    } else {
      path += uri[i];
    }
  }
  return path;
}

bool ExistsBeside(const std::string&, void*) { return true; }
std::string KeepPath(const std::string& path, void*) { return path; }
bool RefuseWrite(std::string* error, const std::string&, const std::vector<unsigned char>&, void*) {
  if (error) *error = "writing is not allowed";
  return false;
}

bool ReadBeside(std::vector<unsigned char>* out, std::string* error, const std::string& uri, void* user) {
  auto* context = static_cast<ReadContext*>(user);
  std::string path = WithoutDotSlash(PercentDecoded(uri));
  if (!IsPathInsideFolder(path)) {
    context->refused = "the URI \"" + uri + "\" points outside the file's folder";
    if (error) *error = context->refused;
    return false;
  }
  std::string why;
  if (!context->files || !*context->files || !(*context->files)(path, *out, why)) {
    if (error) *error = why.empty() ? "not found" : why;
    return false;
  }
  return true;
}

std::string ExtensionOf(const std::vector<uint8_t>& bytes) {
  static const uint8_t png[] = {0x89, 'P', 'N', 'G'};
  static const uint8_t jpeg[] = {0xFF, 0xD8, 0xFF};
  if (bytes.size() >= 4 && std::memcmp(bytes.data(), png, 4) == 0) return "png";
  if (bytes.size() >= 3 && std::memcmp(bytes.data(), jpeg, 3) == 0) return "jpg";
  return "";
}

// Keeps a picture's bytes as they are: the engine decodes them itself at load.
bool KeepImageBytes(tinygltf::Image* image, const int, std::string* error, std::string*, int, int,
                    const unsigned char* bytes, int size, void* user) {
  auto* context = static_cast<ReadContext*>(user);
  if (image->bufferView >= 0) {
    const tinygltf::Model& model = *context->model;
    const tinygltf::BufferView& view = model.bufferViews[static_cast<size_t>(image->bufferView)];
    size_t available = model.buffers[static_cast<size_t>(view.buffer)].data.size();
    if (view.byteOffset > available || view.byteLength > available - view.byteOffset) {
      if (error) *error += "an image's buffer view reaches past the end of its buffer";
      return false;
    }
  }
  if (size < 0) return false;
  image->image.assign(bytes, bytes + size);
  return true;
}

std::string FirstLine(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  return line.empty() ? "not a glTF 2.0 file" : line;
}

bool Parse(const uint8_t* data, size_t size, ReadContext& context, tinygltf::Model& model, std::string& error) {
  tinygltf::TinyGLTF parser;
  parser.SetFsCallbacks({ExistsBeside, KeepPath, ReadBeside, RefuseWrite, &context});
  context.model = &model;
  parser.SetImageLoader(KeepImageBytes, &context);
  std::string warning;
  bool binary = size >= 4 && std::memcmp(data, "glTF", 4) == 0;
  if (size > UINT32_MAX) {
    error = "the file is larger than 4 GB";
    return false;
  }
  bool read = binary ? parser.LoadBinaryFromMemory(&model, &error, &warning, data, static_cast<unsigned int>(size), "")
                     : parser.LoadASCIIFromString(&model, &error, &warning, reinterpret_cast<const char*>(data),
                                                  static_cast<unsigned int>(size), "");
  if (!context.refused.empty()) {
    error = context.refused;
    return false;
  }
  if (!read) error = FirstLine(error);
  return read;
}

void ReadMaterial(const tinygltf::Model& model, const tinygltf::Material& source, GltfMaterial& material) {
  material.name = source.name;
  const tinygltf::PbrMetallicRoughness& pbr = source.pbrMetallicRoughness;
  for (size_t i = 0; i < 4 && i < pbr.baseColorFactor.size(); ++i) material.baseColor[i] = std::clamp(pbr.baseColorFactor[i], 0.0, 1.0);
  int texture = pbr.baseColorTexture.index;
  if (texture >= 0 && static_cast<size_t>(texture) < model.textures.size()) {
    int source_image = model.textures[static_cast<size_t>(texture)].source;
    if (source_image >= 0 && static_cast<size_t>(source_image) < model.images.size()) material.image = source_image;
  }
  if (pbr.metallicRoughnessTexture.index >= 0 || pbr.metallicFactor != 1 || pbr.roughnessFactor != 1) {
    material.dropped.push_back("metallic/roughness");
  }
  if (source.normalTexture.index >= 0) material.dropped.push_back("normal map");
  if (source.occlusionTexture.index >= 0) material.dropped.push_back("occlusion map");
  bool glows = std::any_of(source.emissiveFactor.begin(), source.emissiveFactor.end(), [](double v) { return v != 0; });
  if (source.emissiveTexture.index >= 0 || glows) material.dropped.push_back("emissive");
}

void ReadImages(const tinygltf::Model& model, GltfDocument& out) {
  for (size_t i = 0; i < model.images.size(); ++i) {
    GltfImage image;
    image.name = model.images[i].name.empty() ? "image" + std::to_string(i) : model.images[i].name;
    image.bytes = model.images[i].image;
    image.extension = ExtensionOf(image.bytes);
    out.images.push_back(std::move(image));
  }
}

void ReadCameras(const tinygltf::Model& model, GltfDocument& out) {
  for (const tinygltf::Camera& source : model.cameras) {
    GltfCamera camera;
    camera.name = source.name;
    camera.perspective = source.type != "orthographic";
    camera.yfov = source.perspective.yfov;
    camera.aspectRatio = source.perspective.aspectRatio;
    out.cameras.push_back(camera);
  }
}

// Primitive corners as triangles, whatever the primitive's triangle mode.
bool TriangleCorners(int mode, const std::vector<uint32_t>& indices, std::vector<std::array<uint32_t, 3>>& triangles) {
  size_t n = indices.size();
  if (mode == TINYGLTF_MODE_TRIANGLES || mode == -1) {
    for (size_t i = 0; i + 2 < n; i += 3) triangles.push_back({indices[i], indices[i + 1], indices[i + 2]});
  } else if (mode == TINYGLTF_MODE_TRIANGLE_STRIP) {
    for (size_t i = 0; i + 2 < n; ++i) {
      if (i % 2 == 0) triangles.push_back({indices[i], indices[i + 1], indices[i + 2]});
      else triangles.push_back({indices[i + 1], indices[i], indices[i + 2]});
    }
  } else if (mode == TINYGLTF_MODE_TRIANGLE_FAN) {
    for (size_t i = 1; i + 1 < n; ++i) triangles.push_back({indices[0], indices[i], indices[i + 1]});
  } else {
    return false;
  }
  return true;
}

bool ReadAttribute(const tinygltf::Model& model, const tinygltf::Primitive& primitive, const char* name, int width,
                   size_t vertices, std::vector<float>& values, std::string& error) {
  auto found = primitive.attributes.find(name);
  if (found == primitive.attributes.end()) {
    values.assign(vertices * static_cast<size_t>(width), 0.0f);
    return true;
  }
  if (!ReadAccessorFloats(model, found->second, width, values, error)) return false;
  if (values.size() != vertices * static_cast<size_t>(width)) {
    error = std::string("its ") + name + " has another count than its positions";
    return false;
  }
  return true;
}

bool ReadPrimitiveIndices(const tinygltf::Model& model, const tinygltf::Primitive& primitive, size_t vertices,
                          std::vector<uint32_t>& indices, std::string& error) {
  if (primitive.indices < 0) {
    indices.resize(vertices);
    for (size_t i = 0; i < vertices; ++i) indices[i] = static_cast<uint32_t>(i);
    return true;
  }
  if (!ReadAccessorIndices(model, primitive.indices, indices, error)) return false;
  for (uint32_t index : indices) {
    if (index >= vertices) {
      error = "an index (" + std::to_string(index) + ") is past its " + std::to_string(vertices) + " vertices";
      return false;
    }
  }
  return true;
}

bool AppendPrimitive(const tinygltf::Model& model, const tinygltf::Primitive& primitive, GltfMesh& mesh, bool& anyNormals,
                     std::string& error) {
  auto position = primitive.attributes.find("POSITION");
  if (position == primitive.attributes.end()) return true;
  std::vector<float> positions, normals, uvs;
  if (!ReadAccessorFloats(model, position->second, 3, positions, error)) return false;
  size_t vertices = positions.size() / 3;
  if (mesh.positions.size() / 3 + vertices > GLTF_MAX_NODE_VERTICES) {
    error = "it has more than " + std::to_string(GLTF_MAX_NODE_VERTICES) + " vertices";
    return false;
  }
  anyNormals = anyNormals || primitive.attributes.count("NORMAL") != 0;
  std::vector<uint32_t> indices;
  if (!ReadAttribute(model, primitive, "NORMAL", 3, vertices, normals, error) ||
      !ReadAttribute(model, primitive, "TEXCOORD_0", 2, vertices, uvs, error) ||
      !ReadPrimitiveIndices(model, primitive, vertices, indices, error)) {
    return false;
  }
  std::vector<std::array<uint32_t, 3>> corners;
  if (!TriangleCorners(primitive.mode, indices, corners)) return true;  // points and lines draw nothing
  auto base = static_cast<uint32_t>(mesh.positions.size() / 3);
  int material = primitive.material >= 0 && static_cast<size_t>(primitive.material) < model.materials.size() ? primitive.material : -1;
  for (const auto& triangle : corners) mesh.triangles.push_back({{base + triangle[0], base + triangle[1], base + triangle[2]}, material});
  mesh.positions.insert(mesh.positions.end(), positions.begin(), positions.end());
  mesh.normals.insert(mesh.normals.end(), normals.begin(), normals.end());
  mesh.uvs.insert(mesh.uvs.end(), uvs.begin(), uvs.end());
  mesh.morphTargets = mesh.morphTargets || !primitive.targets.empty();
  return true;
}

bool ReadMesh(const tinygltf::Model& model, size_t index, GltfMesh& mesh, std::string& error) {
  const tinygltf::Mesh& source = model.meshes[index];
  mesh.name = source.name;
  bool anyNormals = false;
  for (const tinygltf::Primitive& primitive : source.primitives) {
    if (!AppendPrimitive(model, primitive, mesh, anyNormals, error)) {
      error = "mesh " + std::to_string(index) + (source.name.empty() ? "" : " \"" + source.name + "\"") + ": " + error;
      return false;
    }
  }
  if (!anyNormals) mesh.normals.clear();
  return true;
}

GltfTransform RestTransform(const tinygltf::Node& source) {
  GltfTransform rest;
  if (source.matrix.size() == 16) {
    GltfMat4 m;
    std::copy(source.matrix.begin(), source.matrix.end(), m.begin());
    DecomposedMatrix parts = Decompose(m);
    rest.translation = parts.translation;
    rest.scale = parts.scale;
    const GltfMat3& r = parts.rotation;
    // Shepperd's method: the largest of w, x, y, z first keeps it stable.
    double trace = r[0] + r[4] + r[8];
    if (trace > 0) {
      double s = std::sqrt(trace + 1) * 2;
      rest.rotation = {(r[7] - r[5]) / s, (r[2] - r[6]) / s, (r[3] - r[1]) / s, s / 4};
    } else if (r[0] > r[4] && r[0] > r[8]) {
      double s = std::sqrt(1 + r[0] - r[4] - r[8]) * 2;
      rest.rotation = {s / 4, (r[1] + r[3]) / s, (r[2] + r[6]) / s, (r[7] - r[5]) / s};
    } else if (r[4] > r[8]) {
      double s = std::sqrt(1 + r[4] - r[0] - r[8]) * 2;
      rest.rotation = {(r[1] + r[3]) / s, s / 4, (r[5] + r[7]) / s, (r[2] - r[6]) / s};
    } else {
      double s = std::sqrt(1 + r[8] - r[0] - r[4]) * 2;
      rest.rotation = {(r[2] + r[6]) / s, (r[5] + r[7]) / s, s / 4, (r[3] - r[1]) / s};
    }
    return rest;
  }
  for (size_t i = 0; i < 3 && i < source.translation.size(); ++i) rest.translation[i] = source.translation[i];
  for (size_t i = 0; i < 4 && i < source.rotation.size(); ++i) rest.rotation[i] = source.rotation[i];
  for (size_t i = 0; i < 3 && i < source.scale.size(); ++i) rest.scale[i] = source.scale[i];
  rest.rotation = NormalizedQuat(rest.rotation);
  return rest;
}

bool IsFinite(const GltfTransform& t) {
  for (double v : t.translation) if (!std::isfinite(v)) return false;
  for (double v : t.rotation) if (!std::isfinite(v)) return false;
  for (double v : t.scale) if (!std::isfinite(v)) return false;
  return true;
}

// The scene's roots: its own list, or every node no other node holds.
std::vector<int> SceneRoots(const tinygltf::Model& model, std::vector<std::string>& warnings) {
  if (!model.scenes.empty()) {
    size_t chosen = model.defaultScene >= 0 && static_cast<size_t>(model.defaultScene) < model.scenes.size()
                        ? static_cast<size_t>(model.defaultScene)
                        : 0;
    if (model.scenes.size() > 1) warnings.push_back("the file holds " + std::to_string(model.scenes.size()) + " scenes; only scene " + std::to_string(chosen) + " is imported");
    return model.scenes[chosen].nodes;
  }
  std::vector<bool> held(model.nodes.size(), false);
  for (const tinygltf::Node& node : model.nodes) {
    for (int child : node.children) {
      if (child >= 0 && static_cast<size_t>(child) < held.size()) held[static_cast<size_t>(child)] = true;
    }
  }
  std::vector<int> roots;
  for (size_t i = 0; i < held.size(); ++i) {
    if (!held[i]) roots.push_back(static_cast<int>(i));
  }
  return roots;
}

struct NodeWalk {
  const tinygltf::Model& model;
  GltfDocument& out;
  std::map<int, int> placed;  // glTF node index -> index in out.nodes
  std::set<int> usedMeshes;

  bool Visit(int index, int parent, std::string& error) {
    if (index < 0 || static_cast<size_t>(index) >= model.nodes.size()) {
      error = "a scene names node " + std::to_string(index) + ", which does not exist";
      return false;
    }
    if (!placed.emplace(index, static_cast<int>(out.nodes.size())).second) {
      error = "node " + std::to_string(index) + " is reached twice in the scene's hierarchy";
      return false;
    }
    const tinygltf::Node& source = model.nodes[static_cast<size_t>(index)];
    GltfNode node;
    node.name = source.name.empty() ? "node" + std::to_string(index) : source.name;
    node.parent = parent;
    node.rest = RestTransform(source);
    if (!IsFinite(node.rest)) {
      error = "node \"" + node.name + "\" has a transform that is not finite";
      return false;
    }
    if (source.mesh >= 0 && static_cast<size_t>(source.mesh) < model.meshes.size()) node.mesh = source.mesh;
    if (source.camera >= 0 && static_cast<size_t>(source.camera) < model.cameras.size()) node.camera = source.camera;
    node.skinned = source.skin >= 0;
    if (source.extensions.count("KHR_lights_punctual")) out.warnings.push_back("node \"" + node.name + "\": its light is not imported (the engine lights every scene from the eye)");
    if (node.skinned) out.warnings.push_back("node \"" + node.name + "\": its skin is not imported; it is drawn in its rest pose");
    if (node.mesh >= 0) usedMeshes.insert(node.mesh);
    int self = static_cast<int>(out.nodes.size());
    out.nodes.push_back(node);
    for (int child : source.children) {
      if (!Visit(child, self, error)) return false;
    }
    return true;
  }
};

bool ReadMeshes(const tinygltf::Model& model, const std::set<int>& used, GltfDocument& out, std::string& error) {
  out.meshes.resize(model.meshes.size());
  size_t total = 0;
  for (int index : used) {
    if (!ReadMesh(model, static_cast<size_t>(index), out.meshes[static_cast<size_t>(index)], error)) return false;
    total += out.meshes[static_cast<size_t>(index)].positions.size() / 3;
    if (total > GLTF_MAX_SCENE_VERTICES) {
      error = "the scene has more than " + std::to_string(GLTF_MAX_SCENE_VERTICES) + " vertices";
      return false;
    }
  }
  for (const GltfNode& node : out.nodes) {
    if (node.mesh >= 0 && out.meshes[static_cast<size_t>(node.mesh)].morphTargets) {
      out.warnings.push_back("node \"" + node.name + "\": its morph targets are not imported");
    }
  }
  return true;
}

bool ParsePath(const std::string& text, GltfPath& path) {
  if (text == "translation") path = GltfPath::Translation;
  else if (text == "rotation") path = GltfPath::Rotation;
  else if (text == "scale") path = GltfPath::Scale;
  else return false;
  return true;
}

GltfInterpolation ParseInterpolation(const std::string& text) {
  if (text == "STEP") return GltfInterpolation::Step;
  if (text == "CUBICSPLINE") return GltfInterpolation::CubicSpline;
  return GltfInterpolation::Linear;
}

bool ReadSampler(const tinygltf::Model& model, const tinygltf::AnimationSampler& sampler, GltfChannel& channel,
                 std::string& error) {
  if (!ReadAccessorFloats(model, sampler.input, 1, channel.times, error)) return false;
  for (size_t i = 0; i < channel.times.size(); ++i) {
    if (channel.times[i] < 0 || (i > 0 && channel.times[i] < channel.times[i - 1])) {
      error = "its key times are not rising from 0";
      return false;
    }
  }
  if (!channel.times.empty() && channel.times.back() > GLTF_MAX_ANIMATION_SECONDS) {
    error = "its last key is at " + std::to_string(channel.times.back()) + " s; scenes of up to " +
            std::to_string(static_cast<int>(GLTF_MAX_ANIMATION_SECONDS)) + " s are imported";
    return false;
  }
  int width = channel.path == GltfPath::Rotation ? 4 : 3;
  if (!ReadAccessorFloats(model, sampler.output, width, channel.values, error)) return false;
  size_t perKey = channel.interpolation == GltfInterpolation::CubicSpline ? 3 : 1;
  if (channel.values.size() != channel.times.size() * perKey * static_cast<size_t>(width)) {
    error = "it has " + std::to_string(channel.values.size() / static_cast<size_t>(width)) + " values for " +
            std::to_string(channel.times.size()) + " key times";
    return false;
  }
  return true;
}

bool ReadAnimations(const tinygltf::Model& model, const std::map<int, int>& placed, GltfDocument& out, std::string& error) {
  for (size_t a = 0; a < model.animations.size(); ++a) {
    const tinygltf::Animation& source = model.animations[a];
    GltfAnimation animation;
    animation.name = source.name.empty() ? "animation" + std::to_string(a) : source.name;
    for (const tinygltf::AnimationChannel& sourceChannel : source.channels) {
      auto node = placed.find(sourceChannel.target_node);
      GltfChannel channel;
      if (node == placed.end()) continue;
      if (!ParsePath(sourceChannel.target_path, channel.path)) {
        out.warnings.push_back("animation \"" + animation.name + "\": its " + sourceChannel.target_path + " channel is not imported");
        continue;
      }
      if (sourceChannel.sampler < 0 || static_cast<size_t>(sourceChannel.sampler) >= source.samplers.size()) {
        error = "animation \"" + animation.name + "\" names a sampler that does not exist";
        return false;
      }
      const tinygltf::AnimationSampler& sampler = source.samplers[static_cast<size_t>(sourceChannel.sampler)];
      channel.node = node->second;
      channel.interpolation = ParseInterpolation(sampler.interpolation);
      if (!ReadSampler(model, sampler, channel, error)) {
        error = "animation \"" + animation.name + "\", " + sourceChannel.target_path + " of node \"" +
                out.nodes[static_cast<size_t>(channel.node)].name + "\": " + error;
        return false;
      }
      if (!channel.times.empty()) animation.channels.push_back(std::move(channel));
    }
    out.animations.push_back(std::move(animation));
  }
  return true;
}

}  // namespace

bool IsPathInsideFolder(const std::string& path) {
  if (path.empty() || path[0] == '/' || path[0] == '\\' || path.find(':') != std::string::npos) return false;
  if (path.find('\0') != std::string::npos) return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("/\\", start);
    if (end == std::string::npos) end = path.size();
    if (path.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

bool ReadGltf(const uint8_t* data, size_t size, const GltfFileSource& files, GltfDocument& out, std::string& error) {
  out = GltfDocument{};
  ReadContext context;
  context.files = &files;
  tinygltf::Model model;
  if (!Parse(data, size, context, model, error)) return false;
  for (const tinygltf::Material& source : model.materials) ReadMaterial(model, source, out.materials.emplace_back());
  ReadImages(model, out);
  ReadCameras(model, out);
  NodeWalk walk{model, out, {}, {}};
  for (int root : SceneRoots(model, out.warnings)) {
    if (!walk.Visit(root, -1, error)) return false;
  }
  return ReadMeshes(model, walk.usedMeshes, out, error) && ReadAnimations(model, walk.placed, out, error);
}
