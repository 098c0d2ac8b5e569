// Feeds arbitrary bytes to the glTF reader as a .glb or .gltf and, when it accepts them, imports
// the scene: keys fitted, model and scene animation written and read back. Files the scene names
// beside it are served as one small buffer, so external references are followed too.
#include "files/gltf_document.h"
#include "files/gltf_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GltfFileSource beside = [](const std::string&, std::vector<uint8_t>& bytes, std::string&) {
    bytes.assign(64, 0);
    return true;
  };
  GltfDocument document;
  std::string error;
  if (!ReadGltf(data, size, beside, document, error)) return 0;
  GltfImport import;
  ImportGltf(document, {"fuzz", "", ""}, import, error);
  return 0;
}
