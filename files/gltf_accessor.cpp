#include "files/gltf_accessor.h"

#include <cmath>
#include <cstring>

#include "files/gltf_tinygltf.h"

namespace {

// An accessor's bytes, proven to lie inside its buffer.
struct AccessorBytes {
  const uint8_t* first = nullptr;
  size_t stride = 0;
  size_t count = 0;
  int components = 0;
  int componentType = 0;
  int componentSize = 0;
  bool normalized = false;
};

constexpr size_t MAX_ACCESSOR_ELEMENTS = size_t{1} << 28;

std::string Named(int index) { return "accessor " + std::to_string(index); }

bool LocateView(const tinygltf::Model& model, const tinygltf::Accessor& accessor, int index, size_t span,
                AccessorBytes& bytes, std::string& error) {
  if (accessor.bufferView < 0 || static_cast<size_t>(accessor.bufferView) >= model.bufferViews.size()) {
    error = Named(index) + " names no buffer view";
    return false;
  }
  const tinygltf::BufferView& view = model.bufferViews[static_cast<size_t>(accessor.bufferView)];
  if (view.buffer < 0 || static_cast<size_t>(view.buffer) >= model.buffers.size()) {
    error = Named(index) + ": its buffer view names no buffer";
    return false;
  }
  const std::vector<unsigned char>& data = model.buffers[static_cast<size_t>(view.buffer)].data;
  if (view.byteOffset > data.size() || view.byteLength > data.size() - view.byteOffset) {
    error = Named(index) + ": its buffer view reaches past the end of its buffer";
    return false;
  }
  if (accessor.byteOffset > view.byteLength || span > view.byteLength - accessor.byteOffset) {
    error = Named(index) + " reaches past the end of its buffer view";
    return false;
  }
  bytes.first = data.data() + view.byteOffset + accessor.byteOffset;
  return true;
}

bool Locate(const tinygltf::Model& model, int index, int width, AccessorBytes& bytes, std::string& error) {
  if (index < 0 || static_cast<size_t>(index) >= model.accessors.size()) {
    error = Named(index) + " does not exist";
    return false;
  }
  const tinygltf::Accessor& accessor = model.accessors[static_cast<size_t>(index)];
  bytes.components = tinygltf::GetNumComponentsInType(static_cast<uint32_t>(accessor.type));
  bytes.componentSize = tinygltf::GetComponentSizeInBytes(static_cast<uint32_t>(accessor.componentType));
  bytes.componentType = accessor.componentType;
  bytes.normalized = accessor.normalized;
  if (bytes.components != width || bytes.componentSize <= 0) {
    error = Named(index) + " has " + std::to_string(bytes.components) + " numbers per element, " + std::to_string(width) +
            " expected";
    return false;
  }
  if (accessor.sparse.isSparse) {
    error = Named(index) + " is sparse; export without sparse accessors";
    return false;
  }
  if (accessor.count > MAX_ACCESSOR_ELEMENTS) {
    error = Named(index) + " holds too many elements";
    return false;
  }
  bytes.count = accessor.count;
  size_t elementSize = static_cast<size_t>(bytes.components) * static_cast<size_t>(bytes.componentSize);
  bytes.stride = elementSize;
  if (accessor.bufferView < 0) return true;  // all zeros by the format's rule
  if (static_cast<size_t>(accessor.bufferView) < model.bufferViews.size()) {
    size_t viewStride = model.bufferViews[static_cast<size_t>(accessor.bufferView)].byteStride;
    if (viewStride != 0) bytes.stride = viewStride;
  }
  if (bytes.stride < elementSize || bytes.stride > 255) {
    error = Named(index) + " has a stride of " + std::to_string(bytes.stride) + " bytes";
    return false;
  }
  size_t span = bytes.count == 0 ? 0 : (bytes.count - 1) * bytes.stride + elementSize;
  return LocateView(model, accessor, index, span, bytes, error);
}

double ComponentAt(const AccessorBytes& bytes, size_t element, int component) {
  if (!bytes.first) return 0;
  const uint8_t* at = bytes.first + element * bytes.stride + static_cast<size_t>(component * bytes.componentSize);
  auto read = [at](auto value) {
    std::memcpy(&value, at, sizeof value);
    return value;
  };
  switch (bytes.componentType) {
    case TINYGLTF_COMPONENT_TYPE_FLOAT: return read(float{});
    case TINYGLTF_COMPONENT_TYPE_DOUBLE: return read(double{});
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: return bytes.normalized ? read(uint8_t{}) / 255.0 : read(uint8_t{});
    case TINYGLTF_COMPONENT_TYPE_BYTE: return bytes.normalized ? std::fmax(read(int8_t{}) / 127.0, -1.0) : read(int8_t{});
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: return bytes.normalized ? read(uint16_t{}) / 65535.0 : read(uint16_t{});
    case TINYGLTF_COMPONENT_TYPE_SHORT: return bytes.normalized ? std::fmax(read(int16_t{}) / 32767.0, -1.0) : read(int16_t{});
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT: return read(uint32_t{});
    case TINYGLTF_COMPONENT_TYPE_INT: return read(int32_t{});
    default: return 0;
  }
}

}  // namespace

bool ReadAccessorFloats(const tinygltf::Model& model, int index, int width, std::vector<float>& out, std::string& error) {
  AccessorBytes bytes;
  if (!Locate(model, index, width, bytes, error)) return false;
  out.resize(bytes.count * static_cast<size_t>(width));
  for (size_t e = 0; e < bytes.count; ++e) {
    for (int c = 0; c < width; ++c) {
      double value = ComponentAt(bytes, e, c);
      if (!std::isfinite(value) || std::fabs(value) > 1e30) {
        error = Named(index) + " holds a number that is not finite";
        return false;
      }
      out[e * static_cast<size_t>(width) + static_cast<size_t>(c)] = static_cast<float>(value);
    }
  }
  return true;
}

bool ReadAccessorIndices(const tinygltf::Model& model, int index, std::vector<uint32_t>& out, std::string& error) {
  AccessorBytes bytes;
  if (!Locate(model, index, 1, bytes, error)) return false;
  int type = bytes.componentType;
  if (type != TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE && type != TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT &&
      type != TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT) {
    error = Named(index) + " holds indices that are not unsigned integers";
    return false;
  }
  bytes.normalized = false;
  out.resize(bytes.count);
  for (size_t e = 0; e < bytes.count; ++e) out[e] = static_cast<uint32_t>(ComponentAt(bytes, e, 0));
  return true;
}
