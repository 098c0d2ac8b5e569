#include "files/model_cache.h"

#include <cstring>
#include <vector>

#include "files/core_file.h"
#include "files/model_h16.h"
#include "files/model_normals.h"

namespace {

// Smallest possible records, so that counts can be checked against the bytes left.
constexpr size_t MIN_MATERIAL_RECORD = 5 * 2 + 4 * 4 + 4 + 3 * 4;
constexpr size_t MIN_OBJECT_RECORD = 3 * 4 + 4 + 2 + 4 + 1 + 4 + 1 + 4;
constexpr size_t MIN_POINT_RECORD = 4 + 3 * 4;

class CacheCursor {
 public:
  CacheCursor(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

  bool Bytes(void* target, size_t count) {
    if (!mOk || count > mSize - mAt) return mOk = false;
    if (count == 0) return true;
    std::memcpy(target, mData + mAt, count);
    mAt += count;
    return true;
  }
  uint32_t U32() {
    uint8_t b[4] = {};
    Bytes(b, 4);
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
           static_cast<uint32_t>(b[3]) << 24;
  }
  float F32() {
    uint32_t bits = U32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  float H16() {
    uint8_t b[2] = {};
    Bytes(b, 2);
    return H16ToFloat(static_cast<uint16_t>(b[0] | b[1] << 8));
  }
  uint8_t U8() {
    uint8_t b = 0;
    Bytes(&b, 1);
    return b;
  }
  std::string String() {
    uint32_t length = U32();
    if (!mOk || length > mSize - mAt) {
      mOk = false;
      return std::string();
    }
    std::string text(reinterpret_cast<const char*>(mData + mAt), length);
    mAt += length;
    return text;
  }
  // False (and the cursor failed) when count records of recordSize cannot fit in the bytes left.
  bool Fits(uint64_t count, size_t recordSize) {
    if (mOk && count > (mSize - mAt) / recordSize) mOk = false;
    return mOk;
  }
  bool Ok() const { return mOk; }

 private:
  const uint8_t* mData;
  size_t mSize;
  size_t mAt = 0;
  bool mOk = true;
};

void ReadMaterial(CacheCursor& in, ModelMaterial& material) {
  material.diffuse = in.H16();
  material.ambient = in.H16();
  material.emissive = in.H16();
  material.specular = in.H16();
  material.power = in.H16();
  for (float& channel : material.color) channel = in.F32();
  material.shader = static_cast<int32_t>(in.U32());
  material.effect = in.String();
  material.texture = in.String();
  material.texture2 = in.String();
}

// The face record as stored: material, corner count, four (u, v) and four indices.
struct FaceRecord {
  uint32_t material;
  uint32_t cornerCount;
  float uv[4][2];
  uint32_t indices[4];
};
static_assert(sizeof(FaceRecord) == MODEL_FACE_RECORD_SIZE);

// Faces are the bulk of a cache, so they are read record by record (the fields are
// little-endian, as is every host the engine runs on).
void ReadFace(CacheCursor& in, ModelFace& face) {
  FaceRecord record;
  if (!in.Bytes(&record, sizeof record)) return;
  face.material = record.material;
  face.cornerCount = record.cornerCount;
  for (int c = 0; c < 4; ++c) {
    face.uv[c] = {record.uv[c][0], record.uv[c][1]};
    face.indices[c] = record.indices[c];
  }
}

bool FaceValid(const ModelFace& face, size_t materialCount, uint32_t vertexCount) {
  if (face.material >= materialCount || face.cornerCount < 1 || face.cornerCount > 4) return false;
  // Normals read the first three corners of every face that is not a line.
  uint32_t cornersRead = face.cornerCount == 2 ? 2 : face.cornerCount < 3 ? 3 : face.cornerCount;
  for (uint32_t c = 0; c < cornersRead; ++c) {
    if (face.indices[c] >= vertexCount) return false;
  }
  return true;
}

bool ReadObject(CacheCursor& in, size_t materialCount, ModelObject& object) {
  for (float& value : object.floats) value = in.F32();
  object.depth = in.U32();
  object.facet = in.H16();
  uint32_t faceCount = in.U32();
  if (in.U8() == 0) faceCount = 0;
  if (!in.Fits(faceCount, MODEL_FACE_RECORD_SIZE)) return false;
  object.faces.reserve(faceCount);
  for (uint32_t f = 0; f < faceCount && in.Ok(); ++f) ReadFace(in, object.faces.emplace_back());
  uint32_t vertexCount = in.U32();
  if (in.U8() == 0) vertexCount = 0;
  if (!in.Fits(vertexCount, 12)) return false;
  object.positions.resize(static_cast<size_t>(vertexCount) * 3);
  in.Bytes(object.positions.data(), object.positions.size() * sizeof(float));
  object.name = in.String();
  if (!in.Ok()) return false;
  for (const ModelFace& face : object.faces) {
    if (!FaceValid(face, materialCount, vertexCount)) return false;
  }
  object.faceCount = faceCount;
  object.vertexCount = vertexCount;
  ComputeNormalsAndSplit(object);
  return true;
}

bool ReadModel(CacheCursor& in, ModelData& model) {
  char magic[MODEL_CACHE_MAGIC_SIZE] = {};
  if (!in.Bytes(magic, sizeof magic) || std::memcmp(magic, MODEL_CACHE_MAGIC, sizeof magic) != 0) return false;
  uint32_t materialCount = in.U32();
  if (!in.Fits(materialCount, MIN_MATERIAL_RECORD)) return false;
  model.materials.resize(materialCount);
  for (ModelMaterial& material : model.materials) ReadMaterial(in, material);
  uint32_t objectCount = in.U32();
  if (!in.Fits(objectCount, MIN_OBJECT_RECORD)) return false;
  model.objects.reserve(objectCount);
  for (uint32_t i = 0; i < objectCount; ++i) {
    model.objects.emplace_back();
    if (!ReadObject(in, model.materials.size(), model.objects.back())) return false;
  }
  uint32_t pointCount = in.U32();
  if (!in.Fits(pointCount, MIN_POINT_RECORD)) return false;
  for (uint32_t i = 0; i < pointCount; ++i) {
    std::string name = in.String();
    ModelPoint point{in.F32(), in.F32(), in.F32()};
    model.namedPoints[NamedPointKey(name)] = point;
  }
  for (float& value : model.pointA) value = in.F32();
  for (float& value : model.pointB) value = in.F32();
  return in.Ok();
}

}  // namespace

bool ParseModelCache(const uint8_t* data, size_t size, ModelData& model) {
  model = ModelData{};
  CacheCursor in(data, size);
  if (ReadModel(in, model)) return true;
  model = ModelData{};
  return false;
}

bool ReadModelCache(const std::string& path, ModelData& model) {
  CoreFile file(path.c_str(), MODE_READ);
  std::vector<uint8_t> bytes(file.GetSize());
  uint64_t read = file.Read(bytes.data(), bytes.size());
  return ParseModelCache(bytes.data(), static_cast<size_t>(read < bytes.size() ? read : bytes.size()), model);
}
