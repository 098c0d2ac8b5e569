#pragma once
// A content folder (files/content_layout.h) read as the pack it becomes, with messages pointing at
// the files the author edits: the build's and the checker's view of the layout whose loose files
// the developer mode reads (files/content_folder.h).

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "files/content_layout.h"
#include "production/production_files.h"
#include "tools/pack_creation.h"

class ContentFolderFiles : public ProductionFiles {
 public:
  explicit ContentFolderFiles(std::filesystem::path root);

  std::string Name() const override { return mRoot.string(); }
  std::vector<std::string> Names() const override;
  bool Has(const std::string& path) const override;
  bool Read(const std::string& path, std::string& bytes) const override;
  std::string DisplayName(const std::string& path) const override;
  bool ReadModel(const std::string& cachePath, ProductionModel& model, std::string& error) const override;
  int LineOf(const std::string& path, const std::string& text) const override;

  // What the pack is made of: files under data/ as they are, models as converted.
  std::vector<PackInput> PackInputs() const;
  // Caches under data\ that a source under models\ replaces.
  std::vector<std::string> ReplacedCaches() const;
  // The scores under music/, in name order.
  std::vector<std::filesystem::path> Scores() const;
  // music/music.ogg when it is there, else empty.
  std::filesystem::path PreparedMusic() const;

 private:
  struct Conversion {
    bool converted = false;
    std::string error;
    ProductionModel model;
    std::string cache;
  };
  // The source at cachePath converted as the build converts it, once.
  const Conversion& Convert(const std::string& cachePath) const;

  std::filesystem::path mRoot;
  std::map<std::string, std::filesystem::path> mDataFiles;     // by pack path
  std::map<std::string, std::filesystem::path> mModelSources;  // by the pack path of their cache
  mutable std::map<std::string, Conversion> mConversions;
};

// The whole of a file on disk; false when it cannot be read.
bool ReadDiskFile(const std::filesystem::path& path, std::string& bytes);
