#include "files/content_folder_source.h"

#include "files/core_file.h"

namespace files {

bool ContentFolderSource::Has(const std::string& name) const { return mFolder->Has(name); }

EntryLookup ContentFolderSource::Bind(const std::string& name, CoreFile& file) const {
  if (!mFolder->Has(name)) return EntryLookup::NotHere;
  BindToBytes(file, name, mFolder->Read(name));
  return EntryLookup::Found;
}

}  // namespace files
