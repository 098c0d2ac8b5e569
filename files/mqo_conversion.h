#pragma once
// A Metasequoia document made into a model cache, the one way the build, the checker, `mqo2bmdl`,
// the developer mode's loose files and the showcase's generators all convert it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "files/model_data.h"
#include "files/mqo_document.h"

namespace files {

struct MqoConversion {
  MqoDocument document;  // as read
  ModelData model;
  std::vector<std::string> materialNames;  // as the document names them, in its order
  std::vector<uint8_t> cache;              // the model cache ("NUXABMDL") bytes
  int errorLine = 0;                       // when it fails: the document's line at fault, if known
};

// Parses the document and converts it with texture names resolved against packDirectory (a pack
// folder ending in "\"). False with the reason in error.
bool ConvertMqoText(const uint8_t* text, size_t size, const std::string& packDirectory, MqoConversion& out,
                    std::string& error);

// The pack folder of an entry name: up to and including its last separator (written "\"), or the
// default model folder for a bare name.
std::string PackDirectoryOfEntry(const std::string& name);

}  // namespace files
