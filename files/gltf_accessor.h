#pragma once
// Typed reads of glTF accessors that prove every byte they touch lies inside its buffer first,
// so a corrupt file gives a reason rather than a read past the end.

#include <cstdint>
#include <string>
#include <vector>

namespace tinygltf {
class Model;
}

// The accessor's elements as floats, width numbers each (normalised integers scaled to 0..1 or
// -1..1). False when the accessor is missing, of another width, sparse, out of its buffer or holds
// a number that is not finite.
bool ReadAccessorFloats(const tinygltf::Model& model, int index, int width, std::vector<float>& out, std::string& error);

// The accessor's unsigned integer scalars (vertex indices).
bool ReadAccessorIndices(const tinygltf::Model& model, int index, std::vector<uint32_t>& out, std::string& error);
