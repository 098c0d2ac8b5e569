// Feeds arbitrary bytes to the Metasequoia parser and, when it accepts them, the converter and
// the model cache round trip.
#include "files/model_cache.h"
#include "files/model_cache_writer.h"
#include "files/mqo_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MqoDocument document;
  ModelData model;
  std::string error;
  int line = 0;
  if (!ParseMqo(data, size, document, error, &line) || !ConvertMqo(document, MQO_DEFAULT_PACK_DIRECTORY, model, error, &line)) {
    return 0;
  }
  std::vector<uint8_t> cache = WriteModelCache(model);
  ModelData read;
  ParseModelCache(cache.data(), cache.size(), read);
  return 0;
}
