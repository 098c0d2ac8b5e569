// Feeds arbitrary bytes to the model cache parser (normals and split included).
#include "files/model_cache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ModelData model;
  ParseModelCache(data, size, model);
  return 0;
}
