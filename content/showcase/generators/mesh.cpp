#include "content/showcase/generators/mesh.h"

#include <cstdio>

namespace {

void Append(std::string& text, const char* format, double a, double b, double c) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  text += buffer;
}

void WriteMaterial(std::string& text, const MeshMaterial& material) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer,
                "\t\"%s\" col(%.3f %.3f %.3f %.3f) dif(%.3f) amb(%.3f) emi(%.3f) spc(%.3f) power(%.2f)",
                material.name.c_str(), material.color[0], material.color[1], material.color[2], material.color[3],
                material.diffuse, material.ambient, material.emissive, material.specular, material.power);
  text += buffer;
  if (!material.texture.empty()) text += " tex(\"" + material.texture + "\")";
  text += "\n";
}

void WriteFace(std::string& text, const MeshFace& face) {
  text += "\t\t" + std::to_string(face.corners.size()) + " V(";
  for (size_t i = 0; i < face.corners.size(); ++i) text += (i ? " " : "") + std::to_string(face.corners[i]);
  text += ") M(" + std::to_string(face.material) + ") UV(";
  for (size_t i = 0; i < face.uv.size(); ++i) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s%.5f %.5f", i ? " " : "", face.uv[i][0], face.uv[i][1]);
    text += buffer;
  }
  text += ")\n";
}

void WriteObject(std::string& text, const MeshObject& object) {
  text += "Object \"" + object.name + "\" {\n";
  text += "\tdepth " + std::to_string(object.depth) + "\n";
  Append(text, "\tfacet %.1f\n", object.facet, 0, 0);
  text += "\tvisible 15\n";
  text += "\tvertex " + std::to_string(object.vertices.size()) + " {\n";
  for (const Vec3& v : object.vertices) Append(text, "\t\t%.5f %.5f %.5f\n", v.x, v.y, v.z);
  text += "\t}\n";
  text += "\tface " + std::to_string(object.faces.size()) + " {\n";
  for (const MeshFace& face : object.faces) WriteFace(text, face);
  text += "\t}\n}\n";
}

}  // namespace

int MeshObject::AddVertex(Vec3 position) {
  vertices.push_back(position);
  return static_cast<int>(vertices.size()) - 1;
}

void MeshObject::AddTriangle(int a, int b, int c, std::array<double, 2> uvA, std::array<double, 2> uvB,
                             std::array<double, 2> uvC, int material) {
  faces.push_back({{a, b, c}, {uvA, uvB, uvC}, material});
}

void MeshObject::AddQuad(int a, int b, int c, int d, std::array<double, 2> uvA, std::array<double, 2> uvB,
                         std::array<double, 2> uvC, std::array<double, 2> uvD, int material) {
  AddTriangle(a, b, c, uvA, uvB, uvC, material);
  AddTriangle(a, c, d, uvA, uvC, uvD, material);
}

void MeshObject::AddBox(Vec3 lo, Vec3 hi, double uvScale, int material) {
  Vec3 size = hi - lo;
  // Each side: its corner, two edges whose cross product points outward, and their lengths.
  struct Side {
    Vec3 origin, u, v;
  };
  const Side sides[6] = {
      {{lo.x, lo.y, hi.z}, {size.x, 0, 0}, {0, size.y, 0}},   // +z
      {{hi.x, lo.y, lo.z}, {-size.x, 0, 0}, {0, size.y, 0}},  // -z
      {{hi.x, lo.y, hi.z}, {0, 0, -size.z}, {0, size.y, 0}},  // +x
      {{lo.x, lo.y, lo.z}, {0, 0, size.z}, {0, size.y, 0}},   // -x
      {{lo.x, hi.y, hi.z}, {size.x, 0, 0}, {0, 0, -size.z}},  // +y
      {{lo.x, lo.y, lo.z}, {size.x, 0, 0}, {0, 0, size.z}},   // -y
  };
  for (const Side& side : sides) {
    double u = Length(side.u) / uvScale;
    double v = Length(side.v) / uvScale;
    int a = AddVertex(side.origin);
    int b = AddVertex(side.origin + side.u);
    int c = AddVertex(side.origin + side.u + side.v);
    int d = AddVertex(side.origin + side.v);
    // Texture rows run downwards, so v = 0 is the top edge of the side.
    AddQuad(a, b, c, d, {0, v}, {u, v}, {u, 0}, {0, 0}, material);
  }
}

MeshObject& Mesh::AddObject(const std::string& name, double facet) {
  objects.emplace_back();
  objects.back().name = name;
  objects.back().facet = facet;
  return objects.back();
}

void Mesh::AddPivot(const std::string& name, Vec3 point) {
  MeshObject& marker = AddObject(">" + name);
  constexpr double HALF = 0.01;
  int a = marker.AddVertex(point + Vec3{-HALF, -HALF, 0});
  int b = marker.AddVertex(point + Vec3{HALF, -HALF, 0});
  int c = marker.AddVertex(point + Vec3{HALF, HALF, 0});
  int d = marker.AddVertex(point + Vec3{-HALF, HALF, 0});
  marker.AddQuad(a, b, c, d, {0, 0}, {0, 0}, {0, 0}, {0, 0}, 0);
}

std::string WriteMqo(const Mesh& mesh) {
  std::string text = "Metasequoia Document\nFormat Text Ver 1.0\n\n";
  text += "Material " + std::to_string(mesh.materials.size()) + " {\n";
  for (const MeshMaterial& material : mesh.materials) WriteMaterial(text, material);
  text += "}\n";
  for (const MeshObject& object : mesh.objects) WriteObject(text, object);
  text += "Eof\n";
  return text;
}
