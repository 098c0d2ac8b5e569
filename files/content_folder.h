#pragma once
// Loose files standing in for pack entries: a content folder (files/content_layout.h) read as the
// pack it becomes, for the developer mode. Model caches are converted from Metasequoia documents
// as the build does: "data\model\NAME.bmdl" from DIR/models/NAME.mqo when there is one (it
// replaces any cache), else from the document beside it (DIR/data/.../NAME.mqo) when that is newer
// or the cache is missing; each version of a document is converted once.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using LooseBytes = std::shared_ptr<const std::vector<uint8_t>>;

namespace files {

class ContentFolder {
 public:
  explicit ContentFolder(std::filesystem::path root);

  const std::filesystem::path& Root() const { return mRoot; }

  // The file that stands in for the entry name: the folder joined with name's components, split
  // at "\". Empty for a name with "/" (the pack would not match it either) and for a name that
  // would leave the folder.
  std::filesystem::path FilePath(std::string_view name) const;

  // The pack name of a file below the folder ("data/x/y.png" becomes "data\x\y.png", and
  // "models/NAME.mqo" the document "data\model\NAME.mqo" whose cache it makes); empty for a path
  // outside it.
  std::string PackNameOf(const std::filesystem::path& file) const;

  // Whether a loose file stands in for the entry name (a model cache's document counts).
  bool Has(const std::string& name) const;

  // The bytes standing in for the entry name, or null when no loose file does or it cannot be
  // read. A Metasequoia document that does not convert is logged (once per version) and gives
  // null too.
  LooseBytes Read(const std::string& name) const;

 private:
  struct Conversion {
    std::filesystem::file_time_type written;
    uintmax_t size = 0;
    LooseBytes cache;  // null when the version does not convert
  };
  LooseBytes Converted(const std::filesystem::path& document, const std::string& name) const;

  std::filesystem::path mRoot;
  mutable std::map<std::filesystem::path, Conversion> mConversions;
};

}  // namespace files
