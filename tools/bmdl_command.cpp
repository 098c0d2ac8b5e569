// torvane-tool bmdl: shows a model cache as the engine reads it (after normals and the split).
#include <cstdio>
#include <fstream>
#include <iterator>

#include "files/model_cache.h"
#include "tools/json_writer.h"
#include "tools/tool_command.h"

namespace {

// A flat list of floats as a list of groups of size.
void WriteGroups(JsonWriter& json, const std::vector<float>& values, size_t size) {
  json.BeginArray();
  for (size_t at = 0; at + size <= values.size(); at += size) {
    json.BeginArray();
    for (size_t i = 0; i < size; ++i) json.Number(values[at + i]);
    json.EndArray();
  }
  json.EndArray();
}

void WriteMaterial(JsonWriter& json, const ModelMaterial& material) {
  json.BeginObject()
      .Key("diffuse").Number(material.diffuse)
      .Key("ambient").Number(material.ambient)
      .Key("emissive").Number(material.emissive)
      .Key("specular").Number(material.specular)
      .Key("power").Number(material.power)
      .Key("color");
  WriteNumberArray(json, material.color);
  json.Key("shader").Integer(material.shader)
      .Key("effect").String(material.effect)
      .Key("texture").String(material.texture)
      .Key("texture2").String(material.texture2)
      .EndObject();
}

void WriteFace(JsonWriter& json, const ModelFace& face) {
  json.BeginObject().Key("material").Integer(face.material).Key("corners").Integer(face.cornerCount).Key("indices").BeginArray();
  for (uint32_t index : face.indices) json.Integer(index);
  json.EndArray().Key("uv").BeginArray();
  for (const auto& uv : face.uv) WriteNumberArray(json, uv);
  json.EndArray().EndObject();
}

void WriteObject(JsonWriter& json, const ModelObject& object) {
  json.BeginObject().Key("name").String(object.name).Key("depth").Integer(object.depth).Key("facet").Number(object.facet);
  json.Key("positions");
  WriteGroups(json, object.positions, 3);
  json.Key("normals");
  WriteGroups(json, object.normals, 3);
  json.Key("faces").BeginArray();
  for (const ModelFace& face : object.faces) WriteFace(json, face);
  json.EndArray().Key("faceNormals");
  WriteGroups(json, object.faceNormals, 3);
  json.EndObject();
}

int RunBmdl(const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0].rfind("--", 0) == 0) return ToolUsageError("bmdl", "needs one FILE");
  std::ifstream in(args[0], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "torvane-tool bmdl: cannot read %s\n", args[0].c_str());
    return 1;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ModelData model;
  if (!ParseModelCache(bytes.data(), bytes.size(), model)) {
    std::fprintf(stderr, "torvane-tool bmdl: %s: not a readable model cache\n", args[0].c_str());
    return 1;
  }
  JsonWriter json;
  json.BeginObject().Key("materials").BeginArray();
  for (const ModelMaterial& material : model.materials) WriteMaterial(json, material);
  json.EndArray().Key("objects").BeginArray();
  for (const ModelObject& object : model.objects) WriteObject(json, object);
  json.EndArray().Key("namedPoints").BeginObject();
  for (const auto& [name, point] : model.namedPoints) {
    json.Key(name);
    WriteNumberArray(json, point);
  }
  json.EndObject().Key("pointA");
  WriteNumberArray(json, model.pointA);
  json.Key("pointB");
  WriteNumberArray(json, model.pointB);
  json.EndObject();
  std::printf("%s\n", json.Text().c_str());
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(bmdl, "bmdl", "show a model cache as the engine reads it",
                     "usage: torvane-tool bmdl FILE\n\n"
                     "Reads a model cache (\"NUXABMDL\") with face normals, smooth normals, the vertex\n"
                     "split and the facet rule applied, and prints it as JSON: {\"materials\": [{\"diffuse\",\n"
                     "\"ambient\", \"emissive\", \"specular\", \"power\", \"color\", \"shader\", \"effect\",\n"
                     "\"texture\", \"texture2\"}], \"objects\": [{\"name\", \"depth\", \"facet\", \"positions\",\n"
                     "\"normals\", \"faces\": [{\"material\", \"corners\", \"indices\", \"uv\"}], \"faceNormals\"}],\n"
                     "\"namedPoints\": {key: [x, y, z]}, \"pointA\", \"pointB\"}. Exits 1 for a file the\n"
                     "engine would refuse.\n",
                     RunBmdl);
