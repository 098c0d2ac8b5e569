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

// Face normals, and their sums at the vertices of each face's first three corners.
void AccumulateNormals(ModelObject& object) {
  object.faceNormals.assign(object.faces.size() * 3, 0.0f);
  object.normals.assign(object.positions.size(), 0.0f);
  for (size_t f = 0; f < object.faces.size(); ++f) {
    const ModelFace& face = object.faces[f];
    if (IsLine(face)) continue;
    Vec3 p0 = Load(object.positions, face.indices[0]);
    Vec3 p1 = Load(object.positions, face.indices[1]);
    Vec3 p2 = Load(object.positions, face.indices[2]);
    Vec3 a{p0[0] - p2[0], p0[1] - p2[1], p0[2] - p2[2]};
    Vec3 b{p1[0] - p2[0], p1[1] - p2[1], p1[2] - p2[2]};
    Vec3 normal = Normalized({a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]});
    Store(object.faceNormals, static_cast<uint32_t>(f), normal);
    for (int corner = 0; corner < 3; ++corner) {
      for (int axis = 0; axis < 3; ++axis) object.normals[3 * face.indices[corner] + axis] += normal[axis];
    }
  }
  for (uint32_t v = 0; v < object.positions.size() / 3; ++v) Store(object.normals, v, Normalized(Load(object.normals, v)));
}

// acos(dot) >= limit, deciding by the cosine where that is certain and calling acos only near
// the boundary, so the result is exactly that of acos at a fraction of its cost.
class FacetTest {
 public:
  explicit FacetTest(float limit) : mLimit(limit), mCosine(std::cos(limit)) {}
  bool AtLeastLimit(float dot) const {
    constexpr float MARGIN = 1e-4f;
    if (dot >= -1 && dot <= 1 && mLimit > MARGIN && mLimit < 3.1f) {
      if (dot < mCosine - MARGIN) return true;
      if (dot > mCosine + MARGIN) return false;
    }
    return std::acos(dot) >= mLimit;
  }

 private:
  float mLimit;
  float mCosine;
};

constexpr uint32_t NONE = UINT32_MAX;

// Where the copies of each vertex go: copies of vertex v occupy [start[v], start[v] + reuses[v]),
// in the order of the faces that reuse it.
struct SplitPlan {
  std::vector<uint32_t> firstUser;
  std::vector<uint32_t> start;
  uint32_t vertexCount = 0;
};

SplitPlan PlanSplit(const ModelObject& object) {
  size_t vertexCount = object.positions.size() / 3;
  SplitPlan plan;
  plan.firstUser.assign(vertexCount, NONE);
  std::vector<uint32_t> lastUser(vertexCount, NONE), reuses(vertexCount, 0);
  for (uint32_t f = 0; f < object.faces.size(); ++f) {
    const ModelFace& face = object.faces[f];
    for (uint32_t c = 0; c < face.cornerCount; ++c) {
      uint32_t v = face.indices[c];
      if (plan.firstUser[v] == NONE) plan.firstUser[v] = f;
      if (plan.firstUser[v] != f && lastUser[v] != f) ++reuses[v];
      lastUser[v] = f;
    }
  }
  plan.start.resize(vertexCount);
  uint32_t next = static_cast<uint32_t>(vertexCount);
  for (size_t v = 0; v < vertexCount; ++v) {
    plan.start[v] = next;
    next += reuses[v];
  }
  plan.vertexCount = next;
  return plan;
}

// Gives each corner that reuses a vertex its copy, then applies the facet rule to the corner.
void SplitAndApplyFacet(ModelObject& object, SplitPlan& plan) {
  size_t original = object.positions.size() / 3;
  // Copies take the smooth normal even when the facet rule has already flattened the original.
  const std::vector<float> smooth = object.normals;
  object.positions.resize(static_cast<size_t>(plan.vertexCount) * 3);
  object.normals.resize(static_cast<size_t>(plan.vertexCount) * 3);
  // A face naming a vertex twice shares one copy: the copy made for the face last is reused.
  std::vector<uint32_t> lastFace(original, NONE), lastCopy(original, NONE);
  FacetTest facet(object.facet * FACET_DEGREES_TO_RADIANS);
  for (uint32_t f = 0; f < object.faces.size(); ++f) {
    ModelFace& face = object.faces[f];
    Vec3 faceNormal = Load(object.faceNormals, f);
    for (uint32_t c = 0; c < face.cornerCount; ++c) {
      uint32_t v = face.indices[c];
      if (plan.firstUser[v] != f) {
        if (lastFace[v] != f) {
          lastFace[v] = f;
          lastCopy[v] = plan.start[v]++;
          Store(object.positions, lastCopy[v], Load(object.positions, v));
          Store(object.normals, lastCopy[v], Load(smooth, v));
        }
        face.indices[c] = v = lastCopy[v];
      }
      Vec3 normal = Load(object.normals, v);
      float dot = normal[0] * faceNormal[0] + normal[1] * faceNormal[1] + normal[2] * faceNormal[2];
      if (facet.AtLeastLimit(dot) && normal != faceNormal) Store(object.normals, v, faceNormal);
    }
  }
  object.vertexCount = plan.vertexCount;
}

}  // namespace

void ComputeNormalsAndSplit(ModelObject& object) {
  SplitPlan plan = PlanSplit(object);
  // Sized once for the vertices the split will add.
  object.positions.reserve(static_cast<size_t>(plan.vertexCount) * 3);
  object.normals.reserve(static_cast<size_t>(plan.vertexCount) * 3);
  AccumulateNormals(object);
  SplitAndApplyFacet(object, plan);
}
