#pragma once
// The Metasequoia model of a glTF scene: one object per mesh node in the mesh's own space (the
// scene animation places it), materials from the base colour, pictures as files of their own.

#include <string>
#include <vector>

#include "files/gltf_document.h"
#include "files/gltf_import.h"
#include "files/mqo_document.h"

struct GltfModelPart {
  int node = -1;
  std::string name;  // the object's and the scene animation part's name
};

struct GltfModel {
  MqoDocument document;
  std::vector<GltfModelPart> parts;
  std::vector<GltfImportedTexture> textures;
};

bool BuildGltfModel(const GltfDocument& source, const std::string& modelName, GltfModel& model,
                    std::vector<std::string>& warnings, std::string& error);

// Gives name, or name_2, name_3... the first not yet in used; records it.
std::string UniqueName(const std::string& name, std::vector<std::string>& used);
