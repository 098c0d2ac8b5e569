#pragma once
// Writes a model cache: the converter's output and the tests' input. Objects are written as they
// stand (positions and faces); normals are never stored, the reader computes them.

#include <cstdint>
#include <vector>

#include "files/model_data.h"

std::vector<uint8_t> WriteModelCache(const ModelData& model);
