#pragma once
// Imports a glTF scene file into a production's content folder: its model (models/NAME.mqo),
// pictures (data/texture/) and scene animation (data/tdf/NAME.tdf). Files beside the scene are
// read only from its own folder; the pictures must decode as the engine decodes them; every file
// is written under a temporary name first and all are renamed only when all are written, so a
// failed import leaves the folder as it was.

#include <filesystem>
#include <string>
#include <vector>

#include "files/gltf_import.h"

// Where a content folder keeps the glTF sources `build` and the developer mode import.
inline constexpr char CONTENT_SCENES_FOLDER[] = "scenes";

// True for ".glb" and ".gltf", ignoring case.
bool IsGltfSceneFile(const std::filesystem::path& file);

struct FileToWrite {
  std::filesystem::path path;
  std::string bytes;
};

// Writes every file under a temporary name, then renames them all; on any failure removes what it
// wrote and gives the reason.
bool WriteFilesTogether(const std::vector<FileToWrite>& files, std::string& error);

// Reads and imports the scene and gives the files it makes, writing nothing. False with a reason
// (not naming the scene; the caller does). An empty options.name takes the scene's file name.
bool PrepareSceneImport(const std::filesystem::path& scene, const std::filesystem::path& contentFolder,
                        GltfImportOptions options, GltfImport& import, std::vector<FileToWrite>& files,
                        std::string& error);

// PrepareSceneImport, then the files written together.
bool ImportSceneFile(const std::filesystem::path& scene, const std::filesystem::path& contentFolder,
                     const GltfImportOptions& options, GltfImport& import, std::string& error);
