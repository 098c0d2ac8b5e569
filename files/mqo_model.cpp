#include "files/mqo_model.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

constexpr int MIRROR_CONNECTED = 2;

std::string WithBackslashes(std::string text) {
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

// Resolves "." and ".." segments of a backslash path.
std::string Normalized(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string joined;
  for (const std::string& part : parts) joined += (joined.empty() ? "" : "\\") + part;
  return joined;
}

bool IsAbsolute(const std::string& path) { return (path.size() > 1 && path[1] == ':') || (!path.empty() && path[0] == '\\'); }

ModelMaterial ConvertMaterial(const MqoMaterial& source, const std::string& packDirectory) {
  ModelMaterial material;
  material.color = source.color;
  material.diffuse = source.diffuse;
  material.ambient = source.ambient;
  material.emissive = source.emissive;
  material.specular = source.specular;
  material.power = source.power;
  material.shader = source.shader;
  material.texture = MqoTexturePath(source.texture, packDirectory);
  material.texture2 = MqoTexturePath(source.bump, packDirectory);
  material.effect = MqoEffectPath(source.name);
  return material;
}

// Metasequoia draws faces without a material in plain white; the cache needs a real index.
ModelMaterial DefaultMaterial() {
  MqoMaterial plain;
  return ConvertMaterial(plain, "");
}

// Mirrors every vertex and face of object across the axes it names; connected mirrors share the
// vertices that lie on the mirror plane.
MqoObject WithMirrors(const MqoObject& source) {
  MqoObject object = source;
  if (object.mirror == 0) return object;
  for (int axis = 0; axis < 3; ++axis) {
    if ((object.mirrorAxis & (1 << axis)) == 0) continue;
    size_t count = object.vertices.size() / 3;
    std::vector<uint32_t> mirrored(count);
    for (size_t v = 0; v < count; ++v) {
      float coordinate = object.vertices[3 * v + axis];
      if (object.mirror == MIRROR_CONNECTED && coordinate == 0) {
        mirrored[v] = static_cast<uint32_t>(v);
        continue;
      }
      mirrored[v] = static_cast<uint32_t>(object.vertices.size() / 3);
      for (int i = 0; i < 3; ++i) object.vertices.push_back(i == axis ? -coordinate : object.vertices[3 * v + i]);
    }
    size_t faceCount = object.faces.size();
    for (size_t f = 0; f < faceCount; ++f) {
      MqoFace face = object.faces[f];
      if (std::any_of(face.vertices.begin(), face.vertices.end(), [&](uint32_t v) { return v >= count; })) continue;
      for (uint32_t& v : face.vertices) v = mirrored[v];
      std::reverse(face.vertices.begin(), face.vertices.end());
      std::reverse(face.uv.begin(), face.uv.end());
      object.faces.push_back(std::move(face));
    }
  }
  return object;
}

ModelFace MakeFace(const MqoFace& source, uint32_t material, std::initializer_list<size_t> corners) {
  ModelFace face;
  face.material = material;
  face.cornerCount = static_cast<uint32_t>(corners.size());
  size_t c = 0;
  for (size_t corner : corners) {
    face.indices[c] = source.vertices[corner];
    if (corner < source.uv.size()) face.uv[c] = source.uv[corner];
    ++c;
  }
  return face;
}

bool ConvertFaces(const MqoObject& source, ModelObject& object, ModelData& model, int& defaultMaterial, std::string& error,
                  int* errorLine) {
  uint32_t vertexCount = static_cast<uint32_t>(source.vertices.size() / 3);
  for (size_t f = 0; f < source.faces.size(); ++f) {
    const MqoFace& face = source.faces[f];
    for (uint32_t v : face.vertices) {
      if (v >= vertexCount) {
        error = "face " + std::to_string(f) + " of object \"" + source.name + "\" names vertex " + std::to_string(v) +
                ", but the object has " +
                (vertexCount == 0 ? std::string("no vertices")
                                  : std::to_string(vertexCount) + " (0 to " + std::to_string(vertexCount - 1) + ")");
        if (errorLine) *errorLine = face.line;
        return false;
      }
    }
    uint32_t material = static_cast<uint32_t>(face.material);
    if (face.material < 0 || material >= model.materials.size()) {
      if (defaultMaterial < 0) {
        defaultMaterial = static_cast<int>(model.materials.size());
        model.materials.push_back(DefaultMaterial());
      }
      material = static_cast<uint32_t>(defaultMaterial);
    }
    if (face.vertices.size() == 2) object.faces.push_back(MakeFace(face, material, {0, 1}));
    for (size_t i = 1; i + 1 < face.vertices.size(); ++i) object.faces.push_back(MakeFace(face, material, {0, i, i + 1}));
  }
  return true;
}

ModelPoint Centroid(const MqoObject& object) {
  ModelPoint sum{0, 0, 0};
  size_t count = object.vertices.size() / 3;
  for (size_t v = 0; v < count; ++v) {
    for (int i = 0; i < 3; ++i) sum[i] += object.vertices[3 * v + i];
  }
  if (count) {
    for (float& value : sum) value /= static_cast<float>(count);
  }
  return sum;
}

void ExtendBounds(ModelData& model, const std::vector<float>& positions, bool& any) {
  for (size_t at = 0; at + 2 < positions.size(); at += 3) {
    for (int i = 0; i < 3; ++i) {
      float value = positions[at + i];
      model.pointA[i] = any ? std::min(model.pointA[i], value) : value;
      model.pointB[i] = any ? std::max(model.pointB[i], value) : value;
    }
    any = true;
  }
}

}  // namespace

std::string MqoTexturePath(const std::string& text, const std::string& packDirectory) {
  if (text.empty()) return std::string();
  std::string path = WithBackslashes(text);
  if (path.rfind("data\\", 0) == 0) return Normalized(path);
  if (IsAbsolute(path)) path = path.substr(path.find_last_of("\\:") + 1);
  return Normalized(packDirectory + path);
}

std::string MqoEffectPath(const std::string& materialName) {
  size_t at = materialName.rfind('@');
  if (at == std::string::npos || at + 1 == materialName.size()) return std::string();
  std::string name = WithBackslashes(materialName.substr(at + 1));
  if (name.find('\\') != std::string::npos) return name;
  return MQO_EFFECT_DIRECTORY + name + ".cgfx";
}

bool ConvertMqo(const MqoDocument& document, const std::string& packDirectory, ModelData& model, std::string& error,
                int* errorLine) {
  model = ModelData{};
  for (const MqoMaterial& material : document.materials) model.materials.push_back(ConvertMaterial(material, packDirectory));
  int defaultMaterial = -1;
  bool anyVertex = false;
  for (const MqoObject& source : document.objects) {
    if (!source.name.empty() && source.name[0] == '>') {
      model.namedPoints[NamedPointKey(source.name)] = Centroid(source);
      continue;
    }
    if (source.visible == 0) continue;
    MqoObject mirrored = WithMirrors(source);
    ModelObject object;
    object.name = source.name;
    object.depth = static_cast<uint32_t>(std::max(source.depth, 0));
    object.facet = source.facet;
    object.floats = source.scale;
    object.positions = mirrored.vertices;
    if (!ConvertFaces(mirrored, object, model, defaultMaterial, error, errorLine)) return false;
    object.vertexCount = static_cast<uint32_t>(object.positions.size() / 3);
    object.faceCount = static_cast<uint32_t>(object.faces.size());
    ExtendBounds(model, object.positions, anyVertex);
    model.objects.push_back(std::move(object));
  }
  return true;
}
