#include "tools/check/content_folder_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "files/mqo_conversion.h"
#include "tools/pack_creation.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> FilesIn(const fs::path& folder, bool recursive) {
  std::vector<fs::path> files;
  std::error_code code;
  if (!fs::is_directory(folder, code)) return files;
  if (recursive) {
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::follow_directory_symlink, code), end;
         !code && it != end; it.increment(code)) {
      if (it->is_regular_file()) files.push_back(it->path());
    }
  } else {
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
      if (it->is_regular_file()) files.push_back(it->path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Entries(size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The counts written before the vertex and face lists that differ from the entries that follow;
// the reader takes the entries.
std::vector<ModelSourceNote> CountMismatches(const MqoDocument& document) {
  std::vector<ModelSourceNote> notes;
  for (const MqoObject& object : document.objects) {
    const std::string name = "object \"" + object.name + "\"";
    const size_t vertices = object.vertices.size() / 3;
    if (object.declaredVertices.count >= 0 && size_t(object.declaredVertices.count) != vertices) {
      notes.push_back({object.declaredVertices.line, "\"vertex " + std::to_string(object.declaredVertices.count) + "\" of " +
                                                         name + ", but " + Entries(vertices, "vertex follows", "vertices follow") +
                                                         "; the model has the vertices that are there"});
    }
    if (object.declaredFaces.count >= 0 && size_t(object.declaredFaces.count) != object.faces.size()) {
      notes.push_back({object.declaredFaces.line, "\"face " + std::to_string(object.declaredFaces.count) + "\" of " + name +
                                                      ", but " + Entries(object.faces.size(), "face follows", "faces follow") +
                                                      "; the model has the faces that are there"});
    }
  }
  return notes;
}

}  // namespace

bool ReadDiskFile(const fs::path& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

ContentFolderFiles::ContentFolderFiles(fs::path root) : mRoot(std::move(root)) {
  for (const fs::path& file : FilesIn(mRoot / files::CONTENT_DATA_FOLDER, true)) {
    mDataFiles[files::PackNameOfRelativePath(file.lexically_relative(mRoot))] = file;
  }
  for (const fs::path& file : FilesIn(mRoot / files::CONTENT_MODELS_FOLDER, false)) {
    if (file.extension() == files::MQO_EXTENSION) mModelSources[files::ModelCacheNameOfSource(file)] = file;
  }
}

std::vector<std::string> ContentFolderFiles::Names() const {
  std::vector<std::string> names;
  for (const auto& [name, file] : mDataFiles) names.push_back(name);
  for (const auto& [name, file] : mModelSources) names.push_back(name);
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

bool ContentFolderFiles::Has(const std::string& path) const { return mDataFiles.count(path) || mModelSources.count(path); }

bool ContentFolderFiles::Read(const std::string& path, std::string& bytes) const {
  if (mModelSources.count(path)) {
    const Conversion& conversion = Convert(path);
    bytes = conversion.cache;
    return conversion.converted;
  }
  auto found = mDataFiles.find(path);
  return found != mDataFiles.end() && ReadDiskFile(found->second, bytes);
}

std::string ContentFolderFiles::DisplayName(const std::string& path) const {
  if (auto source = mModelSources.find(path); source != mModelSources.end()) return source->second.string();
  if (auto file = mDataFiles.find(path); file != mDataFiles.end()) return file->second.string();
  std::string relative = path;
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return (mRoot / relative).string();
}

bool ContentFolderFiles::ReadModel(const std::string& cachePath, ProductionModel& model, std::string& error) const {
  if (!mModelSources.count(cachePath)) return ProductionFiles::ReadModel(cachePath, model, error);
  const Conversion& conversion = Convert(cachePath);
  if (!conversion.converted) {
    error = conversion.error;
    model.errorLine = conversion.model.errorLine;
    return false;
  }
  model = conversion.model;
  return true;
}

int ContentFolderFiles::LineOf(const std::string& path, const std::string& text) const {
  auto source = mModelSources.find(path);
  if (source == mModelSources.end()) return ProductionFiles::LineOf(path, text);
  std::string bytes;
  return ReadDiskFile(source->second, bytes) ? LineOfText(bytes, text) : 0;
}

const ContentFolderFiles::Conversion& ContentFolderFiles::Convert(const std::string& cachePath) const {
  auto done = mConversions.find(cachePath);
  if (done != mConversions.end()) return done->second;
  Conversion& conversion = mConversions[cachePath];
  std::string text;
  files::MqoConversion converted;
  if (!ReadDiskFile(mModelSources.at(cachePath), text)) {
    conversion.error = "cannot read " + mModelSources.at(cachePath).string();
  } else {
    const bool read = files::ConvertMqoText(reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                                            files::CONTENT_MODEL_PACK_FOLDER, converted, conversion.error);
    conversion.model.errorLine = converted.errorLine;
    if (!read) return conversion;
    conversion.model.data = std::move(converted.model);
    conversion.model.materialNames = std::move(converted.materialNames);
    conversion.model.sourceWarnings = CountMismatches(converted.document);
    conversion.cache.assign(converted.cache.begin(), converted.cache.end());
    conversion.converted = true;
  }
  return conversion;
}

std::vector<PackInput> ContentFolderFiles::PackInputs() const {
  std::vector<PackInput> inputs;
  for (const std::string& name : Names()) {
    PackInput input;
    input.name = name;
    if (mModelSources.count(name)) {
      input.inMemory = true;
      input.bytes = Convert(name).cache;
    } else {
      input.file = mDataFiles.at(name);
    }
    inputs.push_back(std::move(input));
  }
  return inputs;
}

std::vector<std::string> ContentFolderFiles::ReplacedCaches() const {
  std::vector<std::string> replaced;
  for (const auto& [name, source] : mModelSources) {
    if (mDataFiles.count(name)) replaced.push_back(name);
  }
  return replaced;
}

std::vector<fs::path> ContentFolderFiles::Scores() const {
  std::vector<fs::path> scores;
  for (const fs::path& file : FilesIn(mRoot / files::CONTENT_MUSIC_FOLDER, false)) {
    if (file.extension() == ".score") scores.push_back(file);
  }
  return scores;
}

fs::path ContentFolderFiles::PreparedMusic() const {
  fs::path music = mRoot / files::CONTENT_MUSIC_FOLDER / "music.ogg";
  std::error_code code;
  return fs::is_regular_file(music, code) ? music : fs::path();
}
