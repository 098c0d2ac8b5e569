// Feeds arbitrary bytes to the scene animation reader (with no models: its model table stays
// empty) and evaluates every key it read at a few times.
#include <string>

#include "files/tdf_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  CountModelReferencesInText(text);
  TdfDocument document;
  document.ParseTdfText(text, NoTdfModels);
  for (const TdfScene& scene : document.GetScenes()) {
    for (const TdfObject& object : scene.objects) {
      for (const auto& [part, keys] : object.parts) {
        for (float time : {-1.0f, 0.0f, 0.5f, 1.5f, 1e9f}) object.GetKey(part, time);
      }
    }
  }
  return 0;
}
