#include "demo/scene_import.h"

#include <strings.h>

#include <fstream>
#include <iterator>

#include "files/output_file.h"
#include "render/image/decoders.h"

namespace fs = std::filesystem;

namespace {

// Larger files are not scenes an author means to play.
constexpr uintmax_t MAX_SCENE_FILE_BYTES = uintmax_t{1} << 30;

bool ReadBytes(const fs::path& file, std::vector<uint8_t>& bytes, std::string& why) {
  std::error_code code;
  uintmax_t size = fs::file_size(file, code);
  if (code) {
    why = code.message();
    return false;
  }
  if (size > MAX_SCENE_FILE_BYTES) {
    why = "larger than 1 GB";
    return false;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    why = "cannot be read";
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

// Reads a file named by the scene, refusing any that resolves (through links too) outside the
// scene's folder.
GltfFileSource FilesBeside(const fs::path& scene) {
  fs::path folder = fs::weakly_canonical(fs::absolute(scene).parent_path());
  return [folder](const std::string& path, std::vector<uint8_t>& bytes, std::string& why) {
    fs::path file = fs::weakly_canonical(folder / fs::path(path));
    auto [end, at] = std::mismatch(folder.begin(), folder.end(), file.begin(), file.end());
    if (end != folder.end()) {
      why = "\"" + path + "\" resolves outside the file's folder";
      return false;
    }
    if (!ReadBytes(file, bytes, why)) {
      why = "\"" + path + "\": " + why;
      return false;
    }
    return true;
  };
}

bool PicturesDecode(const GltfImport& import, std::string& error) {
  for (const GltfImportedTexture& texture : import.textures) {
    ImageData pixels;
    ImageDecoder decoder = ImageDecoderFor(fs::path(texture.fileName).extension().string().substr(1));
    if (!decoder || !decoder(texture.bytes.data(), texture.bytes.size(), pixels)) {
      error = "the picture " + texture.fileName + " does not decode";
      return false;
    }
  }
  return true;
}

std::vector<FileToWrite> FilesOf(const GltfImport& import, const fs::path& contentFolder) {
  std::vector<FileToWrite> files;
  for (const GltfImportedTexture& texture : import.textures) {
    files.push_back({contentFolder / "data" / "texture" / texture.fileName, std::string(texture.bytes.begin(), texture.bytes.end())});
  }
  files.push_back({contentFolder / "models" / (import.modelName + ".mqo"), import.mqoText});
  files.push_back({contentFolder / "data" / "tdf" / (import.animationName + ".tdf"), import.tdfText});
  return files;
}

fs::path TemporaryOf(const fs::path& file) { return file.parent_path() / ("." + file.filename().string() + ".importing"); }

void RemoveAll(const std::vector<fs::path>& files) {
  std::error_code ignored;
  for (const fs::path& file : files) fs::remove(file, ignored);
}

bool WriteOne(const FileToWrite& file, const fs::path& temporary, std::string& error) {
  return WriteOutputFile(temporary.string(), std::vector<uint8_t>(file.bytes.begin(), file.bytes.end()), error);
}

}  // namespace

bool IsGltfSceneFile(const fs::path& file) {
  std::string extension = file.extension().string();
  return strcasecmp(extension.c_str(), ".glb") == 0 || strcasecmp(extension.c_str(), ".gltf") == 0;
}

bool WriteFilesTogether(const std::vector<FileToWrite>& files, std::string& error) {
  std::vector<fs::path> temporaries;
  for (const FileToWrite& file : files) {
    temporaries.push_back(TemporaryOf(file.path));
    if (!WriteOne(file, temporaries.back(), error)) {
      RemoveAll(temporaries);
      return false;
    }
  }
  for (size_t i = 0; i < files.size(); ++i) {
    std::error_code code;
    fs::rename(temporaries[i], files[i].path, code);
    if (code) {
      error = "cannot write " + files[i].path.string() + ": " + code.message();
      RemoveAll(temporaries);
      return false;
    }
  }
  return true;
}

bool PrepareSceneImport(const fs::path& scene, const fs::path& contentFolder, GltfImportOptions options,
                        GltfImport& import, std::vector<FileToWrite>& files, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadBytes(scene, bytes, error)) return false;
  if (options.name.empty()) options.name = scene.stem().string();
  GltfDocument document;
  if (!ReadGltf(bytes.data(), bytes.size(), FilesBeside(scene), document, error) ||
      !ImportGltf(document, options, import, error) || !PicturesDecode(import, error)) {
    return false;
  }
  files = FilesOf(import, contentFolder);
  return true;
}

bool ImportSceneFile(const fs::path& scene, const fs::path& contentFolder, const GltfImportOptions& options,
                     GltfImport& import, std::string& error) {
  std::vector<FileToWrite> files;
  return PrepareSceneImport(scene, contentFolder, options, import, files, error) && WriteFilesTogether(files, error);
}
