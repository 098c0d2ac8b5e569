#include "files/mqo_writer.h"

#include <cstdio>

namespace {

std::string Number(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value == 0 ? 0.0f : value));
  return text;
}

void WriteMaterial(std::string& out, const MqoMaterial& material) {
  out += "\t\"" + material.name + "\" shader(" + std::to_string(material.shader) + ") col(";
  for (size_t i = 0; i < 4; ++i) out += (i ? " " : "") + Number(material.color[i]);
  out += ") dif(" + Number(material.diffuse) + ") amb(" + Number(material.ambient) + ") emi(" + Number(material.emissive) +
         ") spc(" + Number(material.specular) + ") power(" + Number(material.power) + ")";
  if (!material.texture.empty()) out += " tex(\"" + material.texture + "\")";
  out += "\n";
}

void WriteFace(std::string& out, const MqoFace& face) {
  out += "\t\t" + std::to_string(face.vertices.size()) + " V(";
  for (size_t i = 0; i < face.vertices.size(); ++i) out += (i ? " " : "") + std::to_string(face.vertices[i]);
  out += ")";
  if (face.material >= 0) out += " M(" + std::to_string(face.material) + ")";
  if (!face.uv.empty()) {
    out += " UV(";
    for (size_t i = 0; i < face.uv.size(); ++i) out += (i ? " " : "") + Number(face.uv[i][0]) + " " + Number(face.uv[i][1]);
    out += ")";
  }
  out += "\n";
}

void WriteObject(std::string& out, const MqoObject& object) {
  out += "Object \"" + object.name + "\" {\n";
  out += "\tdepth " + std::to_string(object.depth) + "\n";
  out += "\tfolding 0\n";
  out += "\tfacet " + Number(object.facet) + "\n";
  out += "\tvisible " + std::to_string(object.visible) + "\n";
  out += "\tvertex " + std::to_string(object.vertices.size() / 3) + " {\n";
  for (size_t v = 0; v + 2 < object.vertices.size(); v += 3) {
    out += "\t\t" + Number(object.vertices[v]) + " " + Number(object.vertices[v + 1]) + " " + Number(object.vertices[v + 2]) + "\n";
  }
  out += "\t}\n";
  out += "\tface " + std::to_string(object.faces.size()) + " {\n";
  for (const MqoFace& face : object.faces) WriteFace(out, face);
  out += "\t}\n}\n";
}

}  // namespace

std::string WriteMqoText(const MqoDocument& document) {
  std::string out = "Metasequoia Document\nFormat Text Ver 1.0\n\n";
  out += "Material " + std::to_string(document.materials.size()) + " {\n";
  for (const MqoMaterial& material : document.materials) WriteMaterial(out, material);
  out += "}\n";
  for (const MqoObject& object : document.objects) WriteObject(out, object);
  out += "Eof\n";
  return out;
}
