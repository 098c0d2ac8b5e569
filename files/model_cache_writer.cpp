#include "files/model_cache_writer.h"

#include <cstring>

#include "files/model_cache.h"
#include "files/model_h16.h"

namespace {

class CacheBuilder {
 public:
  void U32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) mBytes.push_back(static_cast<uint8_t>(value >> shift));
  }
  void F32(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    U32(bits);
  }
  void H16(float value) {
    uint16_t bits = FloatToH16(value);
    mBytes.push_back(static_cast<uint8_t>(bits));
    mBytes.push_back(static_cast<uint8_t>(bits >> 8));
  }
  void U8(uint8_t value) { mBytes.push_back(value); }
  void String(const std::string& text) {
    U32(static_cast<uint32_t>(text.size()));
    mBytes.insert(mBytes.end(), text.begin(), text.end());
  }
  void Raw(const char* data, size_t size) { mBytes.insert(mBytes.end(), data, data + size); }
  std::vector<uint8_t>& Bytes() { return mBytes; }

 private:
  std::vector<uint8_t> mBytes;
};

void WriteMaterial(CacheBuilder& out, const ModelMaterial& material) {
  for (float scalar : {material.diffuse, material.ambient, material.emissive, material.specular, material.power}) {
    out.H16(scalar);
  }
  for (float channel : material.color) out.F32(channel);
  out.U32(static_cast<uint32_t>(material.shader));
  out.String(material.effect);
  out.String(material.texture);
  out.String(material.texture2);
}

void WriteObject(CacheBuilder& out, const ModelObject& object) {
  for (float value : object.floats) out.F32(value);
  out.U32(object.depth);
  out.H16(object.facet);
  out.U32(static_cast<uint32_t>(object.faces.size()));
  out.U8(object.faces.empty() ? 0 : 1);
  for (const ModelFace& face : object.faces) {
    out.U32(face.material);
    out.U32(face.cornerCount);
    for (const auto& uv : face.uv) {
      out.F32(uv[0]);
      out.F32(uv[1]);
    }
    for (uint32_t index : face.indices) out.U32(index);
  }
  out.U32(static_cast<uint32_t>(object.positions.size() / 3));
  out.U8(object.positions.empty() ? 0 : 1);
  for (float coordinate : object.positions) out.F32(coordinate);
  out.String(object.name);
}

}  // namespace

std::vector<uint8_t> WriteModelCache(const ModelData& model) {
  CacheBuilder out;
  out.Raw(MODEL_CACHE_MAGIC, MODEL_CACHE_MAGIC_SIZE);
  out.U32(static_cast<uint32_t>(model.materials.size()));
  for (const ModelMaterial& material : model.materials) WriteMaterial(out, material);
  out.U32(static_cast<uint32_t>(model.objects.size()));
  for (const ModelObject& object : model.objects) WriteObject(out, object);
  out.U32(static_cast<uint32_t>(model.namedPoints.size()));
  for (const auto& [name, point] : model.namedPoints) {
    out.String(name);
    for (float value : point) out.F32(value);
  }
  for (float value : model.pointA) out.F32(value);
  for (float value : model.pointB) out.F32(value);
  return std::move(out.Bytes());
}
