#include "files/gltf_model.h"

#include <algorithm>
#include <map>

namespace {

// Smoothing across every shared vertex reproduces the glTF's normals: an exporter splits the
// vertices along hard edges. Without normals glTF draws faces flat.
constexpr float SMOOTH_FACET = 180.0f;
constexpr float FLAT_FACET = 0.0f;

bool BuildTextures(const GltfDocument& source, const std::string& modelName, GltfModel& model,
                   std::map<int, std::string>& packPaths, std::string& error) {
  std::vector<std::string> used;
  for (const GltfMaterial& material : source.materials) {
    int index = material.image;
    if (index < 0 || packPaths.count(index)) continue;
    const GltfImage& image = source.images[static_cast<size_t>(index)];
    if (image.extension.empty()) {
      error = "image \"" + image.name + "\" is neither PNG nor JPEG";
      return false;
    }
    std::string stem = SafeName(modelName + "_" + image.name, "image");
    std::string fileName = UniqueName(stem + "." + image.extension, used);
    packPaths[index] = "data\\texture\\" + fileName;
    model.textures.push_back({fileName, image.bytes});
  }
  return true;
}

void BuildMaterials(const GltfDocument& source, const std::map<int, std::string>& packPaths, GltfModel& model,
                    std::vector<std::string>& warnings) {
  std::vector<std::string> used;
  for (size_t i = 0; i < source.materials.size(); ++i) {
    const GltfMaterial& material = source.materials[i];
    MqoMaterial written;
    written.name = UniqueName(SafeName(material.name, "material" + std::to_string(i)), used);
    for (size_t c = 0; c < 4; ++c) written.color[c] = static_cast<float>(material.baseColor[c]);
    auto path = packPaths.find(material.image);
    if (path != packPaths.end()) written.texture = path->second;
    model.document.materials.push_back(written);
    if (material.dropped.empty()) continue;
    std::string list;
    for (const std::string& feature : material.dropped) list += (list.empty() ? "" : ", ") + feature;
    warnings.push_back("material \"" + written.name + "\": not shown by the engine: " + list);
  }
  MqoMaterial plain;
  plain.name = UniqueName("default", used);
  model.document.materials.push_back(plain);  // for primitives without a material
}

MqoObject BuildObject(const GltfMesh& mesh, const std::string& name, int defaultMaterial) {
  MqoObject object;
  object.name = name;
  object.facet = mesh.normals.empty() ? FLAT_FACET : SMOOTH_FACET;
  object.vertices = mesh.positions;
  object.faces.reserve(mesh.triangles.size());
  for (const GltfTriangle& triangle : mesh.triangles) {
    MqoFace face;
    face.vertices.assign(triangle.corners.begin(), triangle.corners.end());
    face.material = triangle.material >= 0 ? triangle.material : defaultMaterial;
    for (uint32_t corner : triangle.corners) face.uv.push_back({mesh.uvs[2 * corner], mesh.uvs[2 * corner + 1]});
    object.faces.push_back(std::move(face));
  }
  return object;
}

}  // namespace

std::string UniqueName(const std::string& name, std::vector<std::string>& used) {
  std::string unique = name;
  for (int n = 2; std::find(used.begin(), used.end(), unique) != used.end(); ++n) {
    size_t dot = name.rfind('.');
    bool hasExtension = dot != std::string::npos && dot > 0;
    unique = hasExtension ? name.substr(0, dot) + "_" + std::to_string(n) + name.substr(dot)
                          : name + "_" + std::to_string(n);
  }
  used.push_back(unique);
  return unique;
}

bool BuildGltfModel(const GltfDocument& source, const std::string& modelName, GltfModel& model,
                    std::vector<std::string>& warnings, std::string& error) {
  std::map<int, std::string> packPaths;
  if (!BuildTextures(source, modelName, model, packPaths, error)) return false;
  BuildMaterials(source, packPaths, model, warnings);
  int defaultMaterial = static_cast<int>(model.document.materials.size()) - 1;
  std::vector<std::string> used;
  for (size_t i = 0; i < source.nodes.size(); ++i) {
    const GltfNode& node = source.nodes[i];
    if (node.mesh < 0 || source.meshes[static_cast<size_t>(node.mesh)].triangles.empty()) continue;
    std::string name = UniqueName(SafeName(node.name, "node"), used);
    model.document.objects.push_back(BuildObject(source.meshes[static_cast<size_t>(node.mesh)], name, defaultMaterial));
    model.parts.push_back({static_cast<int>(i), name});
  }
  if (model.parts.empty()) {
    error = "the scene has no mesh with triangles";
    return false;
  }
  return true;
}
