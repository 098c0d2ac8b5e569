#include "files/model_normals.h"

#include <cmath>

namespace {

using Vec3 = std::array<float, 3>;

Vec3 Load(const std::vector<float>& values, uint32_t index) {
  return Vec3{values[3 * index], values[3 * index + 1], values[3 * index + 2]};
}

void Store(std::vector<float>& values, uint32_t index, const Vec3& v) {
  values[3 * index] = v[0];
  values[3 * index + 1] = v[1];
  values[3 * index + 2] = v[2];
}

// Unit length, or zero when the length is zero or not finite, so degenerate input stays finite.
Vec3 Normalized(const Vec3& v) {
  float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (!(length > 0) || !std::isfinite(length)) return Vec3{0, 0, 0};
  return Vec3{v[0] / length, v[1] / length, v[2] / length};
}

bool IsLine(const ModelFace& face) { return face.cornerCount == 2; }

}  // namespace

void ComputeFaceNormals(ModelObject& object) {
  object.faceNormals.assign(object.faces.size() * 3, 0.0f);
  for (size_t f = 0; f < object.faces.size(); ++f) {
    const ModelFace& face = object.faces[f];
    if (IsLine(face)) continue;
    Vec3 p0 = Load(object.positions, face.indices[0]);
    Vec3 p1 = Load(object.positions, face.indices[1]);
    Vec3 p2 = Load(object.positions, face.indices[2]);
    Vec3 a{p0[0] - p2[0], p0[1] - p2[1], p0[2] - p2[2]};
    Vec3 b{p1[0] - p2[0], p1[1] - p2[1], p1[2] - p2[2]};
    Vec3 cross{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    Store(object.faceNormals, static_cast<uint32_t>(f), Normalized(cross));
  }
}

void ComputeVertexNormals(ModelObject& object) {
  object.normals.assign(object.positions.size(), 0.0f);
  for (size_t f = 0; f < object.faces.size(); ++f) {
    const ModelFace& face = object.faces[f];
    if (IsLine(face)) continue;
    for (int corner = 0; corner < 3; ++corner) {
      for (int axis = 0; axis < 3; ++axis) object.normals[3 * face.indices[corner] + axis] += object.faceNormals[3 * f + axis];
    }
  }
  for (uint32_t v = 0; v < object.positions.size() / 3; ++v) Store(object.normals, v, Normalized(Load(object.normals, v)));
}

void SplitSharedVertices(ModelObject& object) {
  constexpr uint32_t NONE = UINT32_MAX;
  size_t vertexCount = object.positions.size() / 3;
  std::vector<uint32_t> firstUser(vertexCount, NONE), lastUser(vertexCount, NONE), reuses(vertexCount, 0);
  for (uint32_t f = 0; f < object.faces.size(); ++f) {
    const ModelFace& face = object.faces[f];
    for (uint32_t c = 0; c < face.cornerCount; ++c) {
      uint32_t v = face.indices[c];
      if (firstUser[v] == NONE) firstUser[v] = f;
      if (firstUser[v] != f && lastUser[v] != f) ++reuses[v];
      lastUser[v] = f;
    }
  }
  // Copies of vertex v occupy [start[v], start[v] + reuses[v]), in the order of the reusing faces.
  std::vector<uint32_t> start(vertexCount);
  uint32_t next = static_cast<uint32_t>(vertexCount);
  for (size_t v = 0; v < vertexCount; ++v) {
    start[v] = next;
    next += reuses[v];
  }
  object.positions.resize(static_cast<size_t>(next) * 3);
  object.normals.resize(static_cast<size_t>(next) * 3);
  std::vector<uint32_t> copiesMade(vertexCount, 0);
  std::fill(lastUser.begin(), lastUser.end(), NONE);
  std::vector<uint32_t> lastCopy(vertexCount, NONE);
  for (uint32_t f = 0; f < object.faces.size(); ++f) {
    ModelFace& face = object.faces[f];
    for (uint32_t c = 0; c < face.cornerCount; ++c) {
      uint32_t v = face.indices[c];
      if (firstUser[v] == f) continue;
      if (lastUser[v] != f) {
        lastCopy[v] = start[v] + copiesMade[v]++;
        lastUser[v] = f;
        Store(object.positions, lastCopy[v], Load(object.positions, v));
        Store(object.normals, lastCopy[v], Load(object.normals, v));
      }
      face.indices[c] = lastCopy[v];
    }
  }
  object.vertexCount = next;
}

void ApplyFacet(ModelObject& object) {
  float limit = object.facet * FACET_DEGREES_TO_RADIANS;
  for (uint32_t f = 0; f < object.faces.size(); ++f) {
    const ModelFace& face = object.faces[f];
    Vec3 faceNormal = Load(object.faceNormals, f);
    for (uint32_t c = 0; c < face.cornerCount; ++c) {
      Vec3 normal = Load(object.normals, face.indices[c]);
      float dot = normal[0] * faceNormal[0] + normal[1] * faceNormal[1] + normal[2] * faceNormal[2];
      if (std::acos(dot) >= limit && normal != faceNormal) Store(object.normals, face.indices[c], faceNormal);
    }
  }
}

void ComputeNormalsAndSplit(ModelObject& object) {
  ComputeFaceNormals(object);
  ComputeVertexNormals(object);
  SplitSharedVertices(object);
  ApplyFacet(object);
}
