#pragma once
// A content folder's loose files as a source of entries, over the pack in the developer mode.

#include <memory>

#include "files/content_folder.h"
#include "files/entry_source.h"

namespace files {

class ContentFolderSource : public EntrySource {
 public:
  explicit ContentFolderSource(std::shared_ptr<const ContentFolder> folder) : mFolder(std::move(folder)) {}

  bool Has(const std::string& name) const override;
  // A loose file that cannot be read is bound as no bytes rather than letting an older source's
  // version through: the loader refuses it and what was loaded before stays.
  EntryLookup Bind(const std::string& name, CoreFile& file) const override;

 private:
  std::shared_ptr<const ContentFolder> mFolder;
};

}  // namespace files
