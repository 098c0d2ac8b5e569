#pragma once
// The binary model cache ("NUXABMDL"): materials, objects and named points, with normals and the
// vertex split computed on reading.

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/model_data.h"

inline constexpr char MODEL_CACHE_MAGIC[] = "NUXABMDL";
inline constexpr size_t MODEL_CACHE_MAGIC_SIZE = 8;
inline constexpr size_t MODEL_FACE_RECORD_SIZE = 56;

// Parses a whole cache into model (replacing its contents). False, with model cleared, for a
// wrong magic, a file cut short, a count that cannot fit in the bytes left, a face with a corner
// count outside 1 to 4, or a face whose material or vertex index is out of range.
bool ParseModelCache(const uint8_t* data, size_t size, ModelData& model);

// Reads the cache entry at path from the pack (a missing entry is critical) and parses it.
bool ReadModelCache(const std::string& path, ModelData& model);
